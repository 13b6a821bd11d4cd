#include "tapptview.h"

#include "listinput.h"
#include "shell/commands.h"
#include "shell/contexthelpfilter.h"
#include "shell/documentsignals.h"
#include "store/listwording.h"
#include "store/tapptdocument.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace dvw {

namespace {

std::optional<ApptRows::Key> cursorKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
        return ApptRows::Key::PageUp;
    case Qt::Key_PageDown:
        return ApptRows::Key::PageDown;
    case Qt::Key_End:
        return ApptRows::Key::End;
    case Qt::Key_Home:
        return ApptRows::Key::Home;
    case Qt::Key_Up:
        return ApptRows::Key::Up;
    case Qt::Key_Down:
        return ApptRows::Key::Down;
    default:
        return std::nullopt;
    }
}

bool clipboardHasText()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard && !clipboard->text().isEmpty();
}

} // namespace

QString TApptView::viewName()
{
    return QStringLiteral("Appointment View");
}

TApptView::TApptView(DocumentSignals &events, const ApptViewSettings &settings, ViewHost host,
                     QWidget *parent)
    : DocumentScrollView(events, std::move(host), parent)
    , m_settings(settings)
    , m_rows(events.document()->engine().index())
{
    TApptDocument &doc = *events.document();
    setObjectName(QStringLiteral("apptView"));
    setWindowTitle(viewName());
    setFocusPolicy(Qt::StrongFocus);
    // F1 in the main window shows the topic of the focused window.
    setProperty(ContextHelpFilter::helpContextProperty, KeyAction(ListKey::F1).command);
    if (doc.needsRebuild())
        doc.Rescan();
    m_rows.setIndex(doc.engine().index());
    m_rows.rows().cursor = 1;
    m_rows.rows().prevCursor = 1;
    setRowHeight(ListRowHeight(m_settings.look, m_settings.headingHeight));
    connect(&events, &DocumentSignals::dateRequested, this,
            [this](const TDate &date, const QObject *sender) {
                if (sender != this)
                    goToDate(date);
            });
    connect(&events, &DocumentSignals::positionSelected, this,
            [this](int position, const QObject *sender) {
                if (sender != this)
                    selectPosition(position);
            });
}

TApptView::~TApptView() = default;

void TApptView::setViewSettings(const ApptViewSettings &settings)
{
    m_settings = settings;
    setRowHeight(ListRowHeight(m_settings.look, m_settings.headingHeight));
    viewport()->update();
}

void TApptView::followIndex()
{
    TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    // The document may have rebuilt its index since (an appended line, a new window).
    const int before = m_rows.lastLine();
    m_rows.setIndex(doc->engine().index());
    if (m_rows.lastLine() != before)
        syncScrollBars();
}

TDate TApptView::cursorDate() const
{
    TApptDocument *doc = document();
    if (doc == nullptr)
        return TDate();
    const int cursor = m_rows.cursor();
    if (m_rows.kindAt(cursor) == DatedEntry) {
        const int heading = m_rows.headingAbove(cursor);
        if (m_rows.kindAt(heading) == DateHeading)
            return HeadingDate(doc->window().start,
                               doc->engine().index()[static_cast<std::size_t>(heading)]);
    }
    return doc->window().today;
}

bool TApptView::allows(int command, bool screening) const
{
    return ListCommandAllowed(command, m_rows.cursor(), clipboardHasText(), screening);
}

void TApptView::broadcastCursorDate()
{
    if (document())
        m_events->sendCursorDate(cursorDate(), this);
}

void TApptView::tellPosition()
{
    if (document())
        m_events->sendSelectPosition(m_rows.lastLine() == 0 ? -1 : m_rows.cursor(), this);
}

void TApptView::setCursorLine(int value)
{
    if (!document())
        return;
    followIndex();
    const int oldTop = m_rows.rows().topRow;
    const int oldCursor = m_rows.rows().prevCursor;
    afterMove(oldTop, m_rows.setCursor(value), oldCursor);
}

// Brings the window and the other views up to a cursor move.
void TApptView::afterMove(int oldTop, bool cursorChanged, int oldCursor)
{
    if (m_rows.rows().topRow != oldTop) {
        syncScrollBars();
        viewport()->update();
    } else if (cursorChanged) {
        repaintLine(oldCursor);
        repaintLine(m_rows.cursor());
    }
    if (cursorChanged)
        tellPosition();
}

void TApptView::goToDate(const TDate &date)
{
    TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    followIndex();
    const int oldTop = m_rows.rows().topRow;
    const int oldCursor = m_rows.rows().prevCursor;
    if (!m_rows.goToDate(date, doc->engine()))
        return;
    afterMove(oldTop, m_rows.cursor() != oldCursor, oldCursor);
}

void TApptView::showChangedRows(int position, const std::optional<TDate> &date)
{
    if (!document())
        return;
    followIndex();
    m_rows.selectPosition(position >= 0 ? position : m_rows.cursor());
    syncScrollBars();
    viewport()->update();
    if (date)
        m_events->sendGoToDate(*date, this);
    tellPosition();
}

void TApptView::selectPosition(int position)
{
    if (!document())
        return;
    // Every view heard this already: the list only follows.
    followIndex();
    const int oldTop = m_rows.rows().topRow;
    const int oldCursor = m_rows.rows().prevCursor;
    m_rows.selectPosition(position);
    if (m_rows.rows().topRow != oldTop) {
        syncScrollBars();
        viewport()->update();
    } else {
        repaintLine(oldCursor);
        repaintLine(m_rows.cursor());
    }
}

ListLook TApptView::look() const
{
    ListLook look = m_settings.look;
    const QPalette &p = palette();
    look.windowText = p.color(QPalette::Active, QPalette::Text);
    look.highlight = p.color(QPalette::Active, QPalette::Highlight);
    look.highlightedText = p.color(QPalette::Active, QPalette::HighlightedText);
    return look;
}

ListLayout TApptView::layout(const QRect &area) const
{
    TApptDocument *doc = document();
    if (doc == nullptr)
        return {};
    return LayOutList(*doc, m_rows.rows(), rowHeight(), area.top(), area.bottom(),
                      m_settings.wording);
}

void TApptView::paintRowsTo(QPainter &painter, const QRect &area)
{
    if (!document())
        return;
    followIndex();
    PaintList(painter, area, layout(area), look());
}

void TApptView::paintRows(QPainter &painter, const QRect &area)
{
    paintRowsTo(painter, area);
}

bool TApptView::event(QEvent *event)
{
    if (!document() && (event->type() == QEvent::KeyPress || event->type() == QEvent::Show))
        return true;
    // Tab belongs to the list, not to the focus chain.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            act(ListAction {ListAction::Kind::FocusMonthPane, 0});
            return true;
        }
    }
    return DocumentScrollView::event(event);
}

void TApptView::keyPressEvent(QKeyEvent *event)
{
    followIndex();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        act(KeyAction(ListKey::Enter));
        return;
    case Qt::Key_Delete:
        act(KeyAction(ListKey::Delete));
        return;
    case Qt::Key_F1:
        act(KeyAction(ListKey::F1));
        return;
    default:
        break;
    }
    if (const auto k = cursorKey(event->key())) {
        const int oldTop = m_rows.rows().topRow;
        const int oldCursor = m_rows.rows().prevCursor;
        if (m_rows.key(*k)) {
            afterMove(oldTop, m_rows.cursor() != oldCursor, oldCursor);
            broadcastCursorDate();
        }
        return;
    }
    const QString text = event->text();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    char c = 0;
    if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        c = static_cast<char>('A' + (event->key() - Qt::Key_A));
    else if (text.size() == 1 && text.at(0).unicode() < 0x80)
        c = static_cast<char>(text.at(0).unicode());
    if (const auto action = CharacterAction(c, ctrl, m_settings.bigDialog)) {
        act(*action);
        return;
    }
    DocumentScrollView::keyPressEvent(event);
}

void TApptView::act(const ListAction &action)
{
    switch (action.kind) {
    case ListAction::Kind::Command:
        runCommand(action.command);
        break;
    case ListAction::Kind::FocusMonthPane:
        if (m_host.focusMonthPane)
            m_host.focusMonthPane();
        break;
    case ListAction::Kind::Help:
        showHelp(action.command);
        break;
    }
}

void TApptView::mousePressEvent(QMouseEvent *event)
{
    followIndex();
    const int row = m_rows.rowAt(event->position().toPoint().y(), rowHeight());
    if (row < 0)
        return;
    if (event->button() == Qt::LeftButton) {
        if (m_rows.isSelectable(row))
            setCursorLine(row);
        broadcastCursorDate();
    } else if (event->button() == Qt::RightButton) {
        popupMenu(row, event->globalPosition().toPoint());
    }
}

void TApptView::mouseDoubleClickEvent(QMouseEvent *event)
{
    followIndex();
    const int row = m_rows.rowAt(event->position().toPoint().y(), rowHeight());
    if (event->button() != Qt::LeftButton || row < 0 || !m_rows.isSelectable(row))
        return;
    setCursorLine(row);
    runCommand(Cm::EditAppt);
}

void TApptView::popupMenu(int row, const QPoint &globalPos)
{
    QMenu *menu = newPopup(QStringLiteral("apptPopup"));
    const auto add
        = [this, menu](const QString &text, int command) { addPopupItem(*menu, text, command); };
    if (m_rows.isSelectable(row)) {
        setCursorLine(row);
        add(QStringLiteral("Edit"), Cm::EditAppt);
        add(QStringLiteral("Mark as done/undone"), Cm::MarkDone);
        add(QStringLiteral("Delete"), Cm::EditCut);
        add(QStringLiteral("Copy"), Cm::EditCopy);
    }
    if (clipboardHasText())
        add(QStringLiteral("Paste"), Cm::EditPaste);
    add(QStringLiteral("Add"), Cm::InsertAppt);
    connect(menu, &QMenu::aboutToHide, this, [this] { broadcastCursorDate(); });
    menu->popup(globalPos);
}

void TApptView::showEvent(QShowEvent *event)
{
    DocumentScrollView::showEvent(event);
    if (!m_setUp) {
        m_setUp = true;
        setUp();
    }
}

void TApptView::setUp()
{
    // One document shows its month pane and current appointment beside the list; with
    // several, no document keeps them.
    if (m_host.clientCommand) {
        const int documents = m_host.documentCount ? m_host.documentCount() : 1;
        if (documents <= 1) {
            m_host.clientCommand(Cm::ShowCurrentPane);
            m_host.clientCommand(Cm::ShowMonthPane);
        } else {
            m_host.clientCommand(Cm::CloseMonthPane);
            m_host.clientCommand(Cm::CloseCurrentPane);
        }
    }
    TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    // Every view, this one too, goes to the date a list showed last.
    if (doc->hasPendingCursorDate())
        m_events->sendGoToDate(doc->lastCursorDate(), nullptr);
    // The panes just opened show the line the cursor starts on.
    followIndex();
    tellPosition();
    if (m_host.takeCalendarStart && m_host.takeCalendarStart())
        runCommand(Cm::ViewCalendar);
}

} // namespace dvw
