#pragma once

#include <QDialog>

namespace dvw {

class TDayEdit;

// "Day View": a caption and a block of text in a modal window that goes away at the
// first click or key. The calendar lists one day's appointments in it, the alarm clock
// the current alarms. The text is always plain text; nothing in it is opened or followed.
class TDayDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDayDialog(QWidget *parent = nullptr);

    // Both are set before the dialog runs. Lines of the text end with CR LF.
    void setCaption(const QString &caption);
    void setText(const QString &text);
    QString text() const { return m_text; }
    TDayEdit *edit() const { return m_edit; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_text;
    TDayEdit *m_edit;
};

} // namespace dvw
