#include "searchinstall.h"

#include "categorydialogs.h"
#include "listpainter.h"
#include "monthviews.h"
#include "platform/helpbook.h"
#include "searchdialogs.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/search.h"
#include "store/startdate.h"
#include "tapptview.h"

#include <QAction>
#include <QApplication>

namespace dvw {

namespace {

constexpr int screenHelpTopic = 118;
constexpr int categoryHelpTopic = 124;

template<typename View>
View *viewOf(const DVDocManager &docs, const TApptDocument &doc, ViewSlot slot)
{
    const dvwMDIChild *window = docs.viewWindow(doc, slot);
    return window ? qobject_cast<View *>(window->widget()) : nullptr;
}

class SearchCommands
{
public:
    SearchCommands(TDVDecoratedMDIFrame &frame, FeatureServices services)
        : m_frame(frame)
        , m_docs(frame.documents())
        , m_app(frame.app())
        , m_services(std::move(services))
    { }

    void registerAll();
    void updateMenus();

private:
    bool run(QDialog &dialog) { return m_services.runDialog(dialog); }
    void beep() { m_services.beeper->beep(); }
    // Whether the document is still open after a modal step.
    bool isOpen(const TApptDocument *doc) const
    {
        for (int i = 0; i < m_docs.count(); ++i)
            if (m_docs.document(i) == doc)
                return true;
        return false;
    }
    void find();
    void next();
    void nextInList(TApptView &list);
    void nextInCalendar(TCalendarView &calendar);
    void screen();
    void restore();
    void startDate();
    void priorityLevel();
    void toggleUnprioritized();
    void selectCategories();
    void newCategory();
    // Rebuilds every document with the application's window and filters and shows it;
    // with toFirstLine every list puts its cursor on line 1.
    void refreshAll(bool toFirstLine);
    void showDocument(TApptDocument &doc, bool toFirstLine);

    TDVDecoratedMDIFrame &m_frame;
    DVDocManager &m_docs;
    dvwApp &m_app;
    FeatureServices m_services;
};

void SearchCommands::registerAll()
{
    CommandRegistry &r = m_frame.commands();
    const auto hasDocument = [this] { return m_docs.current() != nullptr; };
    r.add(Cm::Find, [this] { find(); });
    r.add(Cm::FindNext, [this] { next(); });
    r.add(Cm::Screen, [this] { screen(); });
    r.add(
        Cm::Restore, [this] { restore(); }, [this] { return m_app.filters().screening; });
    r.add(Cm::StartDate, [this] { startDate(); });
    r.add(Cm::PriorityLevel, [this] { priorityLevel(); });
    r.add(Cm::ShowUnprioritized, [this] { toggleUnprioritized(); });
    r.add(
        Cm::SelectCategories, [this] { selectCategories(); }, hasDocument);
    r.add(
        Cm::NewCategory, [this] { newCategory(); }, hasDocument);
}

void SearchCommands::find()
{
    TSearchDialog dialog(m_app.filters().searchText, &m_frame);
    if (!run(dialog))
        return;
    ViewFilters filters = m_app.filters();
    SetSearchText(filters, dialog.text());
    m_app.setFilters(filters);
    next();
}

// Next goes to the view the user works in: the calendar when it is the active window, else
// the current document's list.
void SearchCommands::next()
{
    if (m_app.filters().searchText.empty())
        return;
    TApptDocument *doc = m_docs.current();
    if (doc == nullptr)
        return;
    auto *calendar = viewOf<TCalendarView>(m_docs, *doc, CalendarViewSlot);
    auto *list = viewOf<TApptView>(m_docs, *doc, ListViewSlot);
    const QMdiSubWindow *active = m_frame.client()->activeSubWindow();
    if (calendar && (!list || active == m_docs.viewWindow(*doc, CalendarViewSlot)))
        nextInCalendar(*calendar);
    else if (list)
        nextInList(*list);
}

void SearchCommands::nextInList(TApptView &list)
{
    TApptDocument *doc = list.document();
    const int found = doc ? NextMatchInIndex(doc->engine().index(), doc->lines(), list.cursorLine(),
                                             m_app.filters().searchText)
                          : -1;
    if (found < 0) {
        beep();
        return;
    }
    // The match's day heading goes to the top; the other views follow the row and date.
    list.showChangedRows(found, std::nullopt);
    list.broadcastCursorDate();
}

void SearchCommands::nextInCalendar(TCalendarView &calendar)
{
    TApptDocument *doc = calendar.document();
    const std::optional<TDate> found = doc
        ? NextMatchingDay(doc->engine(), doc->lines(), calendar.selectedDate(),
                          m_app.filters().searchText)
        : std::nullopt;
    if (!found) {
        beep();
        return;
    }
    calendar.selectDate(*found, true);
}

void SearchCommands::screen()
{
    TScreenDialog dialog(
        m_app.filters().screenText, [this] { m_app.help().showTopic(screenHelpTopic); }, &m_frame);
    if (!run(dialog))
        return;
    ViewFilters filters = m_app.filters();
    StartScreening(filters, dialog.text());
    m_app.setFilters(filters);
    refreshAll(true);
}

void SearchCommands::restore()
{
    ViewFilters filters = m_app.filters();
    Restore(filters);
    m_app.setFilters(filters);
    refreshAll(true);
}

void SearchCommands::startDate()
{
    const DateWindow now = m_app.dateWindow();
    TStartDateDialog dialog(now.today, m_app.documentSettings().dateText, &m_frame);
    if (!run(dialog))
        return;
    const std::optional<TDate> start = dialog.startDate();
    if (!start)
        return;
    m_app.setDateWindow(DateWindow::make(now.today, *start, now.days));
    refreshAll(true);
    // The month views show the new start.
    for (int i = 0; i < m_docs.count(); ++i) {
        TApptDocument &doc = *m_docs.document(i);
        for (ViewSlot slot : {MonthPaneSlot, CalendarViewSlot}) {
            if (auto *month = viewOf<MonthGridView>(m_docs, doc, slot))
                month->selectDate(doc.window().start, false);
        }
    }
}

void SearchCommands::priorityLevel()
{
    TPriorityLevelDialog dialog(&m_frame);
    if (!run(dialog) || dialog.level() == m_app.filters().priorityLevel)
        return;
    ViewFilters filters = m_app.filters();
    filters.priorityLevel = dialog.level();
    m_app.setFilters(filters);
    refreshAll(false);
}

void SearchCommands::toggleUnprioritized()
{
    ViewFilters filters = m_app.filters();
    filters.hideUnprioritized = !filters.hideUnprioritized;
    m_app.setFilters(filters);
    refreshAll(false);
}

void SearchCommands::selectCategories()
{
    TApptDocument *doc = m_docs.current();
    if (doc == nullptr)
        return;
    TCatSelectDialog dialog(
        *doc, UserColours(m_app.settings().colors),
        [this] { m_app.help().showTopic(categoryHelpTopic); }, &m_frame);
    // A rebuild while the dialog is open (the day changing) shows a choice that Cancel may
    // take back: then the document is rebuilt once more.
    bool rebuilt = false;
    const QMetaObject::Connection watch = QObject::connect(
        &m_docs, &DVDocManager::documentsRefreshed, [&rebuilt] { rebuilt = true; });
    const bool accepted = run(dialog);
    QObject::disconnect(watch);
    if (!isOpen(doc))
        return;
    if (accepted || rebuilt) {
        m_docs.rescan(*doc);
        showDocument(*doc, accepted);
    }
    m_docs.updateTitles();
}

void SearchCommands::newCategory()
{
    TApptDocument *doc = m_docs.current();
    if (doc == nullptr)
        return;
    TCatDefDialog dialog(&m_frame);
    if (!run(dialog) || !isOpen(doc))
        return;
    doc->AppendLine(dialog.definitionLine());
    m_docs.rescan(*doc);
    showDocument(*doc, false);
    m_docs.updateTitles();
}

void SearchCommands::refreshAll(bool toFirstLine)
{
    m_docs.refreshAll();
    for (int i = 0; i < m_docs.count(); ++i)
        showDocument(*m_docs.document(i), toFirstLine);
}

void SearchCommands::showDocument(TApptDocument &doc, bool toFirstLine)
{
    if (auto *list = viewOf<TApptView>(m_docs, doc, ListViewSlot)) {
        if (toFirstLine)
            list->showChangedRows(1, std::nullopt);
        else
            list->setCursorLine(-1);
        list->viewport()->update();
    }
    for (ViewSlot slot : {MonthPaneSlot, CalendarViewSlot}) {
        if (auto *month = viewOf<MonthGridView>(m_docs, doc, slot))
            month->viewport()->update();
    }
}

void SearchCommands::updateMenus()
{
    const DateTextSettings dateText = m_app.documentSettings().dateText;
    if (QAction *a = m_frame.action(Cm::StartDate)) {
        a->setText(
            QStringLiteral("Start date: %1")
                .arg(QString::fromStdString(StartDateText(m_app.dateWindow().start, dateText))));
    }
    if (QAction *a = m_frame.action(Cm::PriorityLevel))
        a->setText(QStringLiteral("Priority level = %1").arg(m_app.filters().priorityLevel));
    if (QAction *a = m_frame.action(Cm::ShowUnprioritized)) {
        a->setCheckable(true);
        a->setChecked(!m_app.filters().hideUnprioritized);
    }
    const TApptDocument *doc = m_docs.current();
    for (const auto &[command, slot] :
         {std::pair {Cm::ViewAppointment, ListViewSlot},
          std::pair {Cm::ViewCalendar, CalendarViewSlot}, std::pair {Cm::ViewFile, FileViewSlot}}) {
        if (QAction *a = m_frame.action(command)) {
            a->setCheckable(true);
            a->setChecked(doc && m_docs.viewWindow(*doc, slot));
        }
    }
}

} // namespace

void InstallSearch(TDVDecoratedMDIFrame &frame, const FeatureServices &services)
{
    // Lives as long as the main window.
    auto *commands = new SearchCommands(frame, services);
    QObject::connect(&frame, &QObject::destroyed, [commands] { delete commands; });
    commands->registerAll();
    const auto update = [commands] { commands->updateMenus(); };
    QObject::connect(&frame, &TDVDecoratedMDIFrame::commandCarriedOut, &frame, update);
    QObject::connect(&frame.documents(), &DVDocManager::documentsChanged, &frame, update);
    QObject::connect(&frame.documents(), &DVDocManager::documentsRefreshed, &frame, update);
    QObject::connect(frame.client(), &QMdiArea::subWindowActivated, &frame, update);
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, &frame, update);
    QObject::connect(&frame.app(), &dvwApp::stateChanged, &frame, [commands](dvwApp::State what) {
        if (what == dvwApp::State::DateWindow || what == dvwApp::State::Filters)
            commands->updateMenus();
    });
    for (int command :
         {Cm::ShowUnprioritized, Cm::ViewAppointment, Cm::ViewCalendar, Cm::ViewFile}) {
        if (QAction *a = frame.action(command))
            QObject::connect(a, &QAction::triggered, &frame, update);
    }
    frame.updateActions();
    commands->updateMenus();
}

} // namespace dvw
