#include "monthviews.h"

#include "dayview.h"
#include "shell/commands.h"
#include "shell/contexthelpfilter.h"
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "tdaydialog.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace dvw {

namespace {

// Commands of the calendar's popup that act on the entry under the point.
constexpr int calendarCopy = 655;
constexpr int calendarMarkDone = 660;
constexpr int calendarDelete = 665;
constexpr int calendarAdd = 670;
constexpr int paneHelp = 121;
constexpr int calendarHelp = 122;

bool clipboardHasText()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard && !clipboard->text().isEmpty();
}

} // namespace

MonthGridView::MonthGridView(DocumentSignals &events, GridRule rule,
                             const MonthViewSettings &settings, ViewHost host, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_events(&events)
    , m_rule(rule)
    , m_settings(settings)
    , m_host(std::move(host))
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, maxScrollMonths);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    connect(bar, &QScrollBar::actionTriggered, this, &MonthGridView::scrollAction);
    if (TApptDocument *doc = events.document())
        m_selected = doc->engine().window().start;
    connect(&events, &DocumentSignals::dateRequested, this,
            [this](const TDate &date, const QObject *sender) {
                if (sender != this)
                    selectDate(date, false);
            });
}

TApptDocument *MonthGridView::document() const
{
    return m_events ? m_events->document() : nullptr;
}

void MonthGridView::selectDate(const TDate &date, bool broadcast)
{
    if (!date.isValid() || date.Year() < 1)
        return;
    const TDate old = m_selected;
    m_selected = date;
    syncScrollBar();
    // Within the month only the old and the new day's cells change.
    if (old.isValid() && old.Month() == date.Month() && old.Year() == date.Year()) {
        const GridGeometry g = geometry();
        for (const TDate &d : {old, date}) {
            const GridRect r = g.cellRect(static_cast<int>(d.DayOfMonth()));
            viewport()->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
        }
    } else {
        viewport()->update();
    }
    if (broadcast && m_events)
        m_events->sendCursorDate(date, this);
}

void MonthGridView::setViewSettings(const MonthViewSettings &settings)
{
    m_settings = settings;
    viewport()->update();
}

MonthGrid MonthGridView::grid() const
{
    const TApptDocument *doc = document();
    if (doc == nullptr)
        return {};
    MonthGridRequest request;
    request.year = static_cast<int>(m_selected.Year());
    request.month = static_cast<int>(m_selected.Month());
    request.selected = m_selected;
    request.today = doc->engine().window().today;
    request.shadeWeekends = m_settings.shadeWeekends;
    request.rule = m_rule;
    return BuildMonthGrid(doc->engine(), doc->lines(), request);
}

GridGeometry MonthGridView::geometry() const
{
    // The layout needs the month's shape only, not its entries.
    MonthGrid shape;
    shape.rule = m_rule;
    shape.shape = MonthShapeOf(static_cast<int>(m_selected.Year()),
                               static_cast<int>(m_selected.Month()), m_rule);
    return MonthGeometryFor(viewport()->rect(), shape, m_settings.look);
}

void MonthGridView::paintTo(QPainter &painter, const QRect &rect, const QRect &dirty) const
{
    PaintMonth(painter, rect, grid(), m_settings.look, dirty);
}

bool MonthGridView::moveKey(int key)
{
    TDate next;
    switch (key) {
    case Qt::Key_PageUp:
        next = FirstOfMonthOffset(m_selected, -1);
        break;
    case Qt::Key_PageDown:
        next = FirstOfMonthOffset(m_selected, 1);
        break;
    case Qt::Key_Home:
        next = document() ? document()->engine().window().today : m_selected;
        break;
    case Qt::Key_Left:
        next = DaysOffset(m_selected, -1);
        break;
    case Qt::Key_Right:
        next = DaysOffset(m_selected, 1);
        break;
    case Qt::Key_Up:
        next = DaysOffset(m_selected, -7);
        break;
    case Qt::Key_Down:
        next = DaysOffset(m_selected, 7);
        break;
    default:
        return false;
    }
    selectDate(next, true);
    return true;
}

void MonthGridView::runCommand(int command)
{
    if (m_host.runCommand)
        m_host.runCommand(command);
}

bool MonthGridView::commandEnabled(int command) const
{
    return m_host.commandEnabled && m_host.commandEnabled(command);
}

// An entry whose command cannot run now stays in the menu, disabled.
void MonthGridView::addMenuEntry(QMenu &menu, const QString &text, int command)
{
    QAction *action = menu.addAction(text);
    action->setData(command);
    action->setEnabled(commandEnabled(command));
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
}

void MonthGridView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().window());
    paintTo(painter, viewport()->rect(), event->rect());
}

void MonthGridView::mousePressEvent(QMouseEvent *event)
{
    const int day
        = geometry().dayAt(event->position().toPoint().x(), event->position().toPoint().y());
    if (day == 0)
        return;
    selectDate(TDate(static_cast<std::uint32_t>(day), m_selected.Month(), m_selected.Year()), true);
}

// The scroll bar carries a month count; the pixels never scroll.
void MonthGridView::scrollContentsBy(int, int) { }

void MonthGridView::scrollAction(int action)
{
    const TDate *start = document() ? &document()->engine().window().start : nullptr;
    TDate next;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        next = FirstOfMonthOffset(m_selected, 1);
        break;
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        next = FirstOfMonthOffset(m_selected, -1);
        break;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
        if (start == nullptr)
            return;
        next = DateAtScrollPosition(*start, verticalScrollBar()->sliderPosition());
        break;
    default:
        return;
    }
    // The bar's own step would land after this; the month sets it instead.
    QMetaObject::invokeMethod(
        this, [this, next] { selectDate(next, true); }, Qt::QueuedConnection);
}

void MonthGridView::syncScrollBar()
{
    const TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    QScrollBar *bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    bar->setValue(ScrollPositionOf(doc->engine().window().start, m_selected));
}

QString TMonthView::viewName()
{
    return QStringLiteral("Month View");
}

TMonthView::TMonthView(DocumentSignals &events, const MonthViewSettings &settings, ViewHost host,
                       QWidget *parent)
    : MonthGridView(events, GridRule::Pane, settings, std::move(host), parent)
{
    setObjectName(QStringLiteral("monthView"));
    setWindowTitle(viewName());
    setProperty(ContextHelpFilter::helpContextProperty, paneHelp);
    syncScrollBar();
}

void TMonthView::keyPressEvent(QKeyEvent *event)
{
    if (moveKey(event->key()))
        return;
    if (event->matches(QKeySequence::Paste)) {
        runCommand(Cm::EditPaste);
        return;
    }
    switch (event->key()) {
    case Qt::Key_I:
    case Qt::Key_T:
        runCommand(Cm::InsertWithDate);
        return;
    case Qt::Key_V:
        runCommand(Cm::ViewCalendar);
        return;
    case Qt::Key_F1:
        if (m_host.showHelp)
            m_host.showHelp(paneHelp);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TMonthView::mousePressEvent(QMouseEvent *event)
{
    MonthGridView::mousePressEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (clipboardHasText())
        addMenuEntry(*menu, QStringLiteral("Paste"), Cm::EditPaste);
    addMenuEntry(*menu, QStringLiteral("Add"), Cm::InsertAppt);
    menu->popup(event->globalPosition().toPoint());
}

void TMonthView::mouseDoubleClickEvent(QMouseEvent *)
{
    runCommand(Cm::InsertWithDate);
}

QString TCalendarView::viewName()
{
    return QStringLiteral("Calendar View");
}

TCalendarView::TCalendarView(DocumentSignals &events, const MonthViewSettings &settings,
                             ViewHost host, QWidget *parent)
    : MonthGridView(events, GridRule::Calendar, settings, std::move(host), parent)
{
    setObjectName(QStringLiteral("calendarView"));
    setWindowTitle(viewName());
    setProperty(ContextHelpFilter::helpContextProperty, calendarHelp);
    if (TApptDocument *doc = document()) {
        if (doc->needsRebuild())
            doc->Rescan();
        if (doc->hasPendingCursorDate())
            m_selected = doc->lastCursorDate();
    }
    syncScrollBar();
}

std::pair<int, TDate> TCalendarView::entryAt(const QPoint &point)
{
    const GridGeometry g = geometry();
    const int day = g.dayAt(point.x(), point.y());
    if (day == 0)
        return {-1, TDate()};
    const TDate date(static_cast<std::uint32_t>(day), m_selected.Month(), m_selected.Year());
    selectDate(date, true);
    const MonthGrid month = grid();
    const GridDay &cell = month.days[static_cast<std::size_t>(day - 1)];
    const int index = g.entryAt(point.x(), point.y(), day, static_cast<int>(cell.entries.size()));
    if (index < 0)
        return {-1, date};
    return {cell.entries[static_cast<std::size_t>(index)].line, date};
}

void TCalendarView::openDayDialog()
{
    TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    const DayViewContent content = DayViewFor(*doc, m_selected);
    auto *dialog = new TDayDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setCaption(content.caption);
    dialog->setText(content.text);
    dialog->open();
}

void TCalendarView::keyPressEvent(QKeyEvent *event)
{
    if (moveKey(event->key()))
        return;
    if (event->matches(QKeySequence::Find)) {
        runCommand(Cm::Find);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_L:
        openDayDialog();
        return;
    case Qt::Key_F:
        runCommand(Cm::Find);
        return;
    case Qt::Key_N:
        runCommand(Cm::FindNext);
        return;
    case Qt::Key_I:
        runCommand(Cm::InsertAppt);
        return;
    case Qt::Key_V:
        if (TApptDocument *doc = document())
            doc->setLastCursorDate(m_selected);
        runCommand(Cm::ViewAppointment);
        return;
    case Qt::Key_F1:
        if (m_host.showHelp)
            m_host.showHelp(calendarHelp);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TCalendarView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        popup(event->position().toPoint());
        return;
    }
    MonthGridView::mousePressEvent(event);
}

void TCalendarView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (geometry().dayAt(p.x(), p.y()) == 0)
        return;
    MonthGridView::mousePressEvent(event);
    openDayDialog();
}

void TCalendarView::popup(const QPoint &point)
{
    if (geometry().dayAt(point.x(), point.y()) == 0)
        return;
    m_captured = entryAt(point);
    const bool onEntry = m_captured.first >= 0;
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (onEntry)
        addMenuEntry(*menu, QStringLiteral("Edit"), Cm::EditAppt);
    addMenuEntry(*menu, QStringLiteral("Add"), calendarAdd);
    if (onEntry) {
        addMenuEntry(*menu, QStringLiteral("Mark as done/undone"), calendarMarkDone);
        addMenuEntry(*menu, QStringLiteral("Delete"), calendarDelete);
        addMenuEntry(*menu, QStringLiteral("Copy"), calendarCopy);
    }
    if (clipboardHasText())
        addMenuEntry(*menu, QStringLiteral("Paste"), Cm::EditPaste);
    menu->popup(mapToGlobal(viewport()->mapToParent(point)));
}

} // namespace dvw
