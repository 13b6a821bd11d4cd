#include "tfileview.h"

#include "platform/displaytext.h"
#include "shell/commands.h"
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "store/textmatch.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

namespace dvw {

namespace {

// No window is this many characters wide: a longer line is cut before it is drawn, so a
// line of a megabyte costs no more than a screenful.
constexpr std::size_t MaxDrawnCharacters = 4096;

bool clipboardHasText()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    return data != nullptr && data->hasText();
}

std::optional<FileMove> moveOf(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return FileMove::Up;
    case Qt::Key_Down:
        return FileMove::Down;
    case Qt::Key_PageUp:
        return FileMove::PageUp;
    case Qt::Key_PageDown:
        return FileMove::PageDown;
    case Qt::Key_Home:
        return FileMove::Home;
    case Qt::Key_End:
        return FileMove::End;
    default:
        return std::nullopt;
    }
}

} // namespace

QString TFileView::viewName()
{
    return QStringLiteral("File View");
}

TFileView::TFileView(DocumentSignals &doc, const QFont &font, ViewHost host, QWidget *parent)
    : DocumentScrollView(doc, std::move(host), parent)
{
    setObjectName(QStringLiteral("fileView"));
    setWindowTitle(viewName());
    setFocusPolicy(Qt::StrongFocus);
    setBodyFont(font);
    refresh();
}

void TFileView::setBodyFont(const QFont &font)
{
    m_font = font;
    setRowHeight(QFontMetrics(m_font).lineSpacing());
}

void TFileView::refresh()
{
    const TApptDocument *doc = document();
    m_rows.setCount(doc ? static_cast<int>(doc->lines().size()) : 0);
    m_rows.rows().setPage(viewport()->height(), rowHeight());
    syncScrollBars();
    viewport()->update();
}

void TFileView::setCurrentRow(int row)
{
    m_rows.setCurrent(row);
    syncScrollBars();
    viewport()->update();
}

void TFileView::paintRows(QPainter &painter, const QRect &area)
{
    paintRowsTo(painter, area);
}

void TFileView::paintRowsTo(QPainter &painter, const QRect &area)
{
    const TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    const ScrollRows &rows = m_rows.rows();
    const int height = rowHeight();
    const int first = rows.topRow + std::max(area.top(), 0) / height;
    const int last = std::min(rows.topRow + area.bottom() / height, m_rows.count() - 1);
    const QPalette &palette = this->palette();
    const int left = 2 - rows.xPos * ScrollRows::xUnit;
    painter.setFont(m_font);
    for (int row = first; row <= last; ++row) {
        const TimeString &line = doc->lines()[static_cast<std::size_t>(row)];
        const QRect box(0, (row - rows.topRow) * height, viewport()->width(), height);
        QColor colour = palette.color(QPalette::Text);
        if (row == rows.cursor) {
            painter.fillRect(box, palette.color(QPalette::Highlight));
            colour = palette.color(QPalette::HighlightedText);
        }
        if (line.marked)
            colour = QColor(255, 0, 0);
        painter.setPen(colour);
        const std::string shown = FileRowText(CutToCharacters(line.text, MaxDrawnCharacters));
        painter.drawText(QRect(left, box.top(), 1 << 20, height), Qt::AlignVCenter | Qt::AlignLeft,
                         DisplayText(shown));
    }
}

void TFileView::keyPressEvent(QKeyEvent *event)
{
    if (!document())
        return;
    if (const std::optional<FileMove> move = moveOf(event->key())) {
        const int before = m_rows.current();
        m_rows.move(*move);
        syncScrollBars();
        viewport()->update();
        if (before != m_rows.current())
            repaintLine(before);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        runCommand(FileViewEnterCommand());
        return;
    case Qt::Key_F1:
        showHelp(FileViewHelpTopic);
        return;
    default:
        break;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const QString text = event->text();
    char c = 0;
    if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        c = static_cast<char>('A' + (event->key() - Qt::Key_A));
    else if (text.size() == 1 && text.at(0).unicode() < 0x80)
        c = static_cast<char>(text.at(0).unicode());
    if (const std::optional<int> command = FileViewCharacterCommand(c, ctrl)) {
        runCommand(*command);
        return;
    }
    DocumentScrollView::keyPressEvent(event);
}

void TFileView::moveTo(int row)
{
    const int before = m_rows.current();
    m_rows.setCurrent(row);
    syncScrollBars();
    repaintLine(before);
    repaintLine(m_rows.current());
}

void TFileView::mousePressEvent(QMouseEvent *event)
{
    const int row = m_rows.rowAt(event->position().toPoint().y(), rowHeight());
    if (event->button() == Qt::LeftButton && row >= 0) {
        moveTo(row);
    } else if (event->button() == Qt::RightButton) {
        if (row >= 0)
            moveTo(row);
        popupMenu(row, event->globalPosition().toPoint());
    }
}

void TFileView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int row = m_rows.rowAt(event->position().toPoint().y(), rowHeight());
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    moveTo(row);
    runCommand(Cm::EditAppt);
}

void TFileView::popupMenu(int row, const QPoint &globalPos)
{
    QMenu *menu = newPopup(QStringLiteral("filePopup"));
    const auto add
        = [this, menu](const QString &text, int command) { addPopupItem(*menu, text, command); };
    add(QStringLiteral("Add"), Cm::InsertAppt);
    if (row >= 0) {
        add(QStringLiteral("Edit"), Cm::EditAppt);
        add(QStringLiteral("Mark/unmark"), Cm::FileToggleMark);
        add(QStringLiteral("Copy"), Cm::EditCopy);
        add(QStringLiteral("Delete"), Cm::EditCut);
    }
    if (clipboardHasText())
        add(QStringLiteral("Paste"), Cm::EditPaste);
    menu->popup(globalPos);
}

} // namespace dvw
