#pragma once

#include "prompter.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace dvw {

// The interactive prompter: modal QMessageBox and InputDialog boxes over the top-level
// window of the parent (the main window), else over the active window. Every message box
// is titled with the program's name; a caller's caption that says more (a file's name)
// heads the text instead. A text question's dialog keeps its caption as its title.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr,
                                QString programName = QStringLiteral("Dayvane"));

    void setParent(QWidget *parent);

    void info(const QString &caption, const QString &text, Icon icon = Icon::Information) override;
    bool okCancel(const QString &caption, const QString &text) override;
    Answer yesNo(const QString &caption, const QString &text, bool withCancel = false) override;
    std::optional<QString> askText(const QString &caption, const QString &prompt,
                                   const QString &initial) override;

private:
    // The box's text: the caption first when it names more than the program.
    QString boxText(const QString &caption, const QString &text) const;

    QPointer<QWidget> m_parent;
    QString m_programName;
};

} // namespace dvw
