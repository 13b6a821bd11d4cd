#include "views.h"

#include "listcursor.h"
#include "platform/helpbook.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "tapptview.h"
#include "toneapptview.h"

#include <QAction>

#include <memory>
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
                 const std::shared_ptr<bool> &calendarStart)
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
        Cm::CloseCurrentPane, [&docs] { docs.closeView(*docs.current(), CurrentPaneSlot); },
        [&docs] { return docs.current() != nullptr; });
}

} // namespace

void InstallViews(TDVDecoratedMDIFrame &frame)
{
    auto calendarStart = std::make_shared<bool>(frame.app().settings().calView);
    DVDocManager &docs = frame.documents();
    docs.setViewFactory(ListViewSlot, [&frame, calendarStart](TApptDocument &doc) {
        return makeList(frame, doc, hostFor(frame, doc, calendarStart));
    });
    docs.setViewFactory(CurrentPaneSlot, [&frame, calendarStart](TApptDocument &doc) {
        return makeCurrentPane(frame, doc, hostFor(frame, doc, calendarStart));
    });
    registerCommands(frame);
    frame.updateActions();
}

} // namespace dvw
