#pragma once

#include "prompter.h"

#include <QPointer>

class QWidget;

namespace dvw {

// The interactive prompter: modal QMessageBox and InputDialog boxes over the top-level
// window of the parent (the main window), else over the active window.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr);

    void setParent(QWidget *parent);

    void info(const QString &caption, const QString &text, Icon icon = Icon::Information) override;
    bool okCancel(const QString &caption, const QString &text) override;
    Answer yesNo(const QString &caption, const QString &text, bool withCancel = false) override;
    std::optional<QString> askText(const QString &caption, const QString &prompt,
                                   const QString &initial) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace dvw
