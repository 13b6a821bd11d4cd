#include "monthviews.h"

#include "core/datetext.h"
#include "dayview.h"
#include "platform/displaytext.h"
#include "shell/commands.h"
#include "shell/contexthelpfilter.h"
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "store/textmatch.h"
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

bool MonthGridView::canPaste() const
{
    TApptDocument *doc = document();
    if (doc == nullptr || !m_host.entryContext)
        return clipboardHasText();
    return m_host.entryContext(*doc, nullptr).clipboard.hasText();
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

bool TMonthView::event(QEvent *event)
{
    // Tab goes to the current-appointment pane, not along the focus chain.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            if (m_host.focusCurrentPane)
                m_host.focusCurrentPane();
            return true;
        }
    }
    return MonthGridView::event(event);
}

void TMonthView::keyPressEvent(QKeyEvent *event)
{
    if (moveKey(event->key()))
        return;
    if (event->matches(QKeySequence::Paste)) {
        pasteOnSelectedDay();
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
    if (canPaste()) {
        QAction *paste = menu->addAction(QStringLiteral("Paste"));
        paste->setObjectName(QStringLiteral("popup%1").arg(Cm::EditPaste));
        paste->setEnabled(static_cast<bool>(m_host.entryContext));
        connect(paste, &QAction::triggered, this, &TMonthView::pasteOnSelectedDay);
    }
    // The list adds the appointment on the date this pane shows.
    addMenuEntry(*menu, QStringLiteral("Add"), Cm::InsertWithDate);
    menu->popup(event->globalPosition().toPoint());
}

void TMonthView::mouseDoubleClickEvent(QMouseEvent *)
{
    runCommand(Cm::InsertWithDate);
}

bool TMonthView::handles(int command) const
{
    return command == Cm::EditPaste;
}

bool TMonthView::enabled(int command) const
{
    return command == Cm::EditPaste && m_host.entryContext && canPaste();
}

void TMonthView::run(int command)
{
    if (command == Cm::EditPaste)
        pasteOnSelectedDay();
}

void TMonthView::pasteOnSelectedDay()
{
    TApptDocument *doc = document();
    if (doc == nullptr || !m_host.entryContext)
        return;
    EntryContext context = m_host.entryContext(*doc, this);
    const std::optional<std::string> text = PasteText(context);
    if (!text)
        return;
    const EntryOutcome outcome
        = AddEntryLine(*doc, PastedOnDayText(*doc, *text, m_selected, DayPaste::MonthPane));
    viewport()->update();
    if (m_host.documentChanged)
        m_host.documentChanged(QStringLiteral("Paste"));
    if (outcome.position >= 0 && m_events)
        m_events->sendSelectPosition(outcome.position, this);
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
        run(Cm::InsertAppt);
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
    const auto [line, date] = entryAt(point);
    TApptDocument *doc = document();
    m_captured = doc && line >= 0 ? targetOfLine(*doc, line, date) : std::nullopt;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("calendarPopup"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (m_captured)
        addPopupEntry(*menu, QStringLiteral("Edit"), Cm::EditAppt);
    addPopupEntry(*menu, QStringLiteral("Add"), Cm::CalendarAdd);
    if (m_captured) {
        addPopupEntry(*menu, QStringLiteral("Mark as done/undone"), Cm::CalendarMarkDone);
        addPopupEntry(*menu, QStringLiteral("Delete"), Cm::CalendarDelete);
        addPopupEntry(*menu, QStringLiteral("Copy"), Cm::CalendarCopy);
    }
    if (canPaste())
        addPopupEntry(*menu, QStringLiteral("Paste"), Cm::EditPaste);
    menu->popup(mapToGlobal(viewport()->mapToParent(point)));
}

void TCalendarView::addPopupEntry(QMenu &menu, const QString &text, int command)
{
    QAction *action = menu.addAction(text);
    action->setObjectName(QStringLiteral("popup%1").arg(command));
    action->setEnabled(enabled(command));
    // The popup is this view's own: its choice runs here, not through the main window.
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
}

bool TCalendarView::handles(int command) const
{
    switch (command) {
    case Cm::EditAppt:
    case Cm::InsertAppt:
    case Cm::EditPaste:
    case Cm::CalendarAdd:
    case Cm::CalendarMarkDone:
    case Cm::CalendarDelete:
    case Cm::CalendarCopy:
        return true;
    default:
        return false;
    }
}

bool TCalendarView::enabled(int command) const
{
    if (document() == nullptr)
        return false;
    switch (command) {
    case Cm::EditAppt:
        return m_host.editLine && m_captured;
    case Cm::InsertAppt:
    case Cm::CalendarAdd:
        return static_cast<bool>(m_host.editLine);
    case Cm::CalendarMarkDone:
    case Cm::CalendarDelete:
    case Cm::CalendarCopy:
        return m_host.entryContext && m_captured;
    case Cm::EditPaste:
        return m_host.editLine && m_host.entryContext && canPaste();
    default:
        return false;
    }
}

void TCalendarView::run(int command)
{
    TApptDocument *doc = document();
    if (doc == nullptr || !enabled(command))
        return;
    if (command == Cm::EditAppt) {
        // The dialog opens only on the entry the popup was opened on.
        if (targetHolds(*doc, *m_captured))
            edit(m_captured->line, m_captured->text, QStringLiteral("Edit"));
        else if (m_host.entryContext)
            m_host.entryContext(*doc, this).beeper.beep();
        else
            QApplication::beep();
        return;
    }
    if (command == Cm::InsertAppt || command == Cm::CalendarAdd) {
        edit(-1, FormatDate(m_selected, doc->dateSettings()), QStringLiteral("Add"));
        return;
    }
    EntryContext context = m_host.entryContext(*doc, this);
    switch (command) {
    case Cm::EditPaste:
        if (const std::optional<std::string> text = PasteText(context))
            edit(-1, PastedOnDayText(*doc, *text, m_selected, DayPaste::Calendar),
                 QStringLiteral("Paste"));
        return;
    case Cm::CalendarMarkDone:
        if (MarkDone(context, *m_captured))
            changed(QStringLiteral("Mark as done/undone"));
        return;
    case Cm::CalendarDelete:
        // Deleting from the calendar always asks about a single appointment, by its text.
        context.confirmQuestion = [doc](const EntryTarget &target) {
            const TimeString &line = doc->lines()[static_cast<std::size_t>(target.line)];
            const std::size_t start
                = std::min(static_cast<std::size_t>(std::max(line.textStart, 0)), line.text.size());
            return QStringLiteral("Delete ")
                + DisplayText(CutToCharacters(std::string_view(line.text).substr(start), 20))
                + QStringLiteral("...?");
        };
        if (Delete(context, *m_captured))
            changed(QStringLiteral("Delete"));
        return;
    case Cm::CalendarCopy:
        Copy(context, *m_captured);
        return;
    default:
        return;
    }
}

void TCalendarView::edit(int line, const std::string &text, const QString &step)
{
    TApptDocument *doc = document();
    if (doc == nullptr)
        return;
    // The dialog runs the event loop: the view may go while it is open.
    const QPointer<TCalendarView> self(this);
    if (m_host.editLine(*doc, line, text, m_selected) && self && document())
        changed(step);
}

void TCalendarView::changed(const QString &step)
{
    viewport()->update();
    if (m_host.documentChanged)
        m_host.documentChanged(step);
}

} // namespace dvw
