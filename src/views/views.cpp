#include "views.h"

#include "entryinstall.h"
#include "fileview.h"
#include "history/undohistories.h"
#include "listcursor.h"
#include "monthviews.h"
#include "platform/helpbook.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "tapptview.h"
#include "toneapptview.h"
#include "toneedit.h"

#include <QAction>
#include <QApplication>
#include <QPalette>

#include <memory>
#include <type_traits>
#include <utility>

namespace dvw {

namespace {

ApptViewSettings listSettings(const dvwApp &app)
{
    ApptViewSettings s;
    s.look.headingFont = app.fonts()[HeadingFont].font;
    s.look.bodyFont = app.fonts()[BodyFont].font;
    s.look.userColours = UserColours(app.settings().colors);
    s.headingHeight = app.fonts()[HeadingFont].height;
    s.wording.multiline = app.settings().multiLine;
    s.wording.european = app.settings().european;
    s.bigDialog = app.settings().bigDialog;
    return s;
}

MonthViewSettings monthSettings(const dvwApp &app, bool calendar)
{
    MonthViewSettings s;
    const auto &fonts = app.fonts();
    s.look.titleFont = fonts[calendar ? LargeFont : HeadingFont].font;
    s.look.headingFont = fonts[HeadingFont].font;
    s.look.dayFont = fonts[CalendarFont].font;
    s.look.entryFont = fonts[SmallFont].font;
    s.look.userColours = UserColours(app.settings().colors);
    const QPalette palette = QApplication::palette();
    s.look.highlight = palette.color(QPalette::Highlight);
    s.look.highlightedText = palette.color(QPalette::HighlightedText);
    s.shadeWeekends = app.settings().shadeWeekends;
    return s;
}

// The Edit menu while the calendar is active.
std::vector<MenuEntry> calendarMenu()
{
    MenuEntry edit;
    edit.kind = MenuEntry::Kind::Popup;
    edit.text = "&Edit";
    edit.group = MenuGroup::Edit;
    edit.entries = undoEntries();
    edit.entries.push_back(
        {MenuEntry::Kind::Command, "&Insert appointment", Cm::InsertAppt, {}, {}, {}, {}});
    edit.entries.push_back({MenuEntry::Kind::Command, "&Paste", Cm::EditPaste, {}, {}, {}, {}});
    return {edit};
}

template<typename View>
QWidget *makeMonth(TDVDecoratedMDIFrame &frame, TApptDocument &doc, ViewHost host)
{
    constexpr bool calendar = std::is_same_v<View, TCalendarView>;
    auto *view = new View(*frame.documents().signalsOf(doc), monthSettings(frame.app(), calendar),
                          std::move(host));
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, view, [&frame, view] {
        view->setViewSettings(monthSettings(frame.app(), calendar));
    });
    return view;
}

void toggleCalendar(TDVDecoratedMDIFrame &frame, TApptDocument &doc)
{
    toggleSoleView(frame, doc, CalendarViewSlot, calendarMenu());
}

// The appointment view: the list, and beside it the two panes while the document is the
// only one. From the calendar it goes back to the list; otherwise it only opens what is
// missing, list last, so the document never loses its last window.
void showAppointmentView(TDVDecoratedMDIFrame &frame, TApptDocument &doc)
{
    DVDocManager &docs = frame.documents();
    if (docs.viewWindow(doc, CalendarViewSlot)) {
        toggleCalendar(frame, doc);
    } else {
        if (docs.count() == 1) {
            docs.openView(doc, MonthPaneSlot);
            docs.openView(doc, CurrentPaneSlot);
        }
        docs.openView(doc, ListViewSlot);
    }
    docs.layOutFixed();
    if (dvwMDIChild *list = docs.viewWindow(doc, ListViewSlot))
        frame.client()->setActiveSubWindow(list);
}

std::optional<int> listCursorOf(const DVDocManager &docs, const TApptDocument &doc)
{
    const dvwMDIChild *window = docs.viewWindow(doc, ListViewSlot);
    const auto *list = window ? dynamic_cast<const ListCursor *>(window->widget()) : nullptr;
    return list ? std::optional<int>(list->cursorLine()) : std::nullopt;
}

// Makes the slot's window of the document active and gives its view the keyboard.
void focusView(TDVDecoratedMDIFrame &frame, const TApptDocument &doc, ViewSlot slot)
{
    dvwMDIChild *window = frame.documents().viewWindow(doc, slot);
    if (window == nullptr)
        return;
    frame.client()->setActiveSubWindow(window);
    if (QWidget *view = window->widget())
        view->setFocus(Qt::TabFocusReason);
}

// What every view of the document asks of the main window. calendarStart: CALVIEW as it
// was at start, which only the first list takes.
ViewHost hostFor(TDVDecoratedMDIFrame &frame, const TApptDocument &doc,
                 const std::shared_ptr<bool> &calendarStart, const FeatureServices &services)
{
    ViewHost host;
    host.runCommand = [&frame](int command) { frame.runCommand(command); };
    host.commandEnabled = [&frame](int command) {
        const QAction *action = frame.action(command);
        return action && action->isEnabled();
    };
    host.clientCommand = [&frame](int command) { frame.carryOut(command); };
    host.showHelp = [&frame](int topic) { frame.app().help().showTopic(topic); };
    host.documentCount = [&frame] { return frame.documents().count(); };
    host.takeCalendarStart = [calendarStart] { return std::exchange(*calendarStart, false); };
    host.focusMonthPane = [&frame, &doc] { focusView(frame, doc, MonthPaneSlot); };
    host.focusList = [&frame, &doc] { focusView(frame, doc, ListViewSlot); };
    host.focusCurrentPane = [&frame, &doc] { focusView(frame, doc, CurrentPaneSlot); };
    host.entryContext = [&frame, services](TApptDocument &d, QWidget *parent) {
        return entryContextOf(services, frame, d, parent);
    };
    host.editLine = services.edit.line;
    host.documentChanged = [&frame, undo = services.undo](const QString &step) {
        if (undo != nullptr)
            undo->recordAll(step);
        emit frame.documents().documentsRefreshed();
        frame.documents().updateTitles();
        frame.updateActions();
    };
    return host;
}

// The list follows every settings change from then on.
QWidget *makeList(TDVDecoratedMDIFrame &frame, TApptDocument &doc, ViewHost host)
{
    auto *view = new TApptView(*frame.documents().signalsOf(doc), listSettings(frame.app()),
                               std::move(host));
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, view,
                     [&frame, view] { view->setViewSettings(listSettings(frame.app())); });
    return view;
}

QWidget *makeCurrentPane(TDVDecoratedMDIFrame &frame, TApptDocument &doc, const ViewHost &host)
{
    DVDocManager &docs = frame.documents();
    auto *pane = new TOneApptView(*docs.signalsOf(doc), frame.app().fonts()[BodyFont].font,
                                  [&docs, &doc] { return listCursorOf(docs, doc); });
    QObject::connect(pane, &TOneApptView::commandRequested, pane, host.runCommand);
    QObject::connect(pane, &TOneApptView::helpRequested, pane, host.showHelp);
    QObject::connect(pane, &TOneApptView::focusListRequested, pane, host.focusList);
    QObject::connect(&docs, &DVDocManager::documentsRefreshed, pane, &TOneApptView::refresh);
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, pane,
                     [&frame, pane] { pane->edit()->setFont(frame.app().fonts()[BodyFont].font); });
    return pane;
}

void registerCommands(TDVDecoratedMDIFrame &frame)
{
    DVDocManager &docs = frame.documents();
    CommandRegistry &r = frame.commands();
    r.add(
        Cm::ShowCurrentPane, [&docs] { docs.openView(*docs.current(), CurrentPaneSlot); },
        [&docs] { return docs.current() && docs.canMakeView(CurrentPaneSlot); });
    r.add(
        Cm::ShowMonthPane, [&docs] { docs.openView(*docs.current(), MonthPaneSlot); },
        [&docs] { return docs.current() && docs.canMakeView(MonthPaneSlot); });
    r.add(
        Cm::CloseMonthPane, [&docs] { docs.closeView(*docs.current(), MonthPaneSlot); },
        [&docs] { return docs.current() != nullptr; });
    r.add(
        Cm::ViewCalendar, [&frame, &docs] { toggleCalendar(frame, *docs.current()); },
        [&docs] { return docs.current() && docs.canMakeView(CalendarViewSlot); });
    r.add(
        Cm::ViewAppointment, [&frame, &docs] { showAppointmentView(frame, *docs.current()); },
        [&docs] { return docs.current() && docs.canMakeView(ListViewSlot); });
    r.add(
        Cm::CloseCurrentPane, [&docs] { docs.closeView(*docs.current(), CurrentPaneSlot); },
        [&docs] { return docs.current() != nullptr; });
}

} // namespace

void toggleSoleView(TDVDecoratedMDIFrame &frame, TApptDocument &doc, ViewSlot slot,
                    std::vector<MenuEntry> menu)
{
    DVDocManager &docs = frame.documents();
    if (docs.viewWindow(doc, slot)) {
        if (docs.openView(doc, ListViewSlot))
            docs.closeView(doc, slot);
        docs.layOutFixed();
        return;
    }
    dvwMDIChild *window = docs.openView(doc, slot);
    if (window == nullptr)
        return;
    // The main window merges the menu in while the view's window is active.
    window->setViewMenu(std::move(menu));
    for (ViewSlot other :
         {ListViewSlot, FileViewSlot, CalendarViewSlot, MonthPaneSlot, CurrentPaneSlot}) {
        if (other != slot)
            docs.closeView(doc, other);
    }
}

void InstallViews(TDVDecoratedMDIFrame &frame, const FeatureServices &services)
{
    auto calendarStart = std::make_shared<bool>(frame.app().settings().calView);
    const auto host = [&frame, calendarStart, services](const TApptDocument &doc) {
        return hostFor(frame, doc, calendarStart, services);
    };
    DVDocManager &docs = frame.documents();
    docs.setViewFactory(ListViewSlot, [&frame, host](TApptDocument &doc) {
        return makeList(frame, doc, host(doc));
    });
    docs.setViewFactory(CurrentPaneSlot, [&frame, host](TApptDocument &doc) {
        return makeCurrentPane(frame, doc, host(doc));
    });
    docs.setViewFactory(MonthPaneSlot, [&frame, host](TApptDocument &doc) {
        return makeMonth<TMonthView>(frame, doc, host(doc));
    });
    docs.setViewFactory(CalendarViewSlot, [&frame, host](TApptDocument &doc) {
        return makeMonth<TCalendarView>(frame, doc, host(doc));
    });
    registerCommands(frame);
    InstallFileView(frame, services);
    frame.updateActions();
}

} // namespace dvw
