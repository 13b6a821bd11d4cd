#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace dvw {

// The one-line question: a prompt of up to four lines, one edit line, OK and Cancel.
// The prompt is plain text. Children: "prompt" (QLabel), "edit" (QLineEdit).
class InputDialog : public QDialog
{
    Q_OBJECT
public:
    InputDialog(const QString &caption, const QString &prompt, const QString &initial,
                QWidget *parent = nullptr);

    QString text() const;

private:
    QLabel *m_prompt;
    QLineEdit *m_edit;
};

} // namespace dvw
