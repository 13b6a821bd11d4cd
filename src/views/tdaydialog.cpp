#include "tdaydialog.h"

#include "tdayedit.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTextCursor>

namespace dvw {

namespace {

// Dialog units of the dialog's font: a quarter of the average character width across,
// an eighth of the line height down.
QRect dialogUnits(const QFontMetrics &metrics, int x, int y, int w, int h)
{
    const int cx = metrics.averageCharWidth();
    const int cy = metrics.height();
    return QRect(x * cx / 4, y * cy / 8, w * cx / 4, h * cy / 8);
}

} // namespace

TDayDialog::TDayDialog(QWidget *parent)
    : QDialog(parent)
    , m_edit(new TDayEdit(this))
{
    setObjectName(QStringLiteral("dayDialog"));
    setWindowTitle(tr("Day View"));
    setModal(true);
    const QFontMetrics metrics(font());
    setFixedSize(dialogUnits(metrics, 0, 0, 238, 197).size());
    m_edit->setGeometry(dialogUnits(metrics, 5, 5, 230, 190));
    connect(m_edit, &TDayEdit::dismissed, this, &QDialog::accept);
}

void TDayDialog::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TDayDialog::setText(const QString &text)
{
    m_text = text;
    // The text is shown whole: a long day is scrolled, never cut.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    m_edit->setPlainText(shown);
}

void TDayDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Nothing selected, the first line in view, the keys going to the text.
    QTextCursor cursor = m_edit->textCursor();
    cursor.movePosition(QTextCursor::Start);
    m_edit->setTextCursor(cursor);
    m_edit->setFocus();
}

} // namespace dvw
