#pragma once

#include <QString>

#include <deque>
#include <vector>

class QWidget;

namespace dvw {

// The open-file and save-file dialogs. An empty answer means the user cancelled. Tests
// answer from a script instead of a modal dialog.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // An existing file to open.
    virtual QString openFile(const QString &caption, const QString &filter) = 0;
    // A name to save under, ending in ".suffix" when the typed name had no suffix;
    // replacing an existing file of that final name has been agreed to.
    virtual QString saveFile(const QString &caption, const QString &filter,
                             const QString &suggested, const QString &suffix)
        = 0;
};

class DialogFileChooser : public FileChooser
{
public:
    explicit DialogFileChooser(QWidget *parent = nullptr);
    void setParent(QWidget *parent) { m_parent = parent; }

    QString openFile(const QString &caption, const QString &filter) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &suggested,
                     const QString &suffix) override;

private:
    QWidget *m_parent;
};

// Answers with the queued paths in order, the suffix added as the dialog adds it; with
// none left it cancels.
class ScriptedFileChooser : public FileChooser
{
public:
    void push(const QString &path) { m_paths.push_back(path); }
    int asked() const { return m_asked; }

    QString openFile(const QString &caption, const QString &filter) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &suggested,
                     const QString &suffix) override;

private:
    QString next();

    std::deque<QString> m_paths;
    int m_asked = 0;
};

} // namespace dvw
