#include "shellviews.h"

#include "platform/helpbook.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "tapptview.h"

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
    s.look.userColours = UserColours(app.settings.colors);
    s.headingHeight = app.fonts()[HeadingFont].height;
    s.wording.multiline = app.settings.multiLine;
    s.wording.european = app.settings.european;
    s.bigDialog = app.settings.bigDialog;
    return s;
}

ViewHost hostFor(TDVDecoratedMDIFrame &frame, TApptDocument &doc,
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
    host.focusMonthPane = [&frame, &doc] {
        if (dvwMDIChild *pane = frame.documents().viewWindow(doc, MonthPaneSlot)) {
            frame.client()->setActiveSubWindow(pane);
            if (QWidget *view = pane->widget())
                view->setFocus(Qt::TabFocusReason);
        }
    };
    return host;
}

} // namespace

void InstallListViews(TDVDecoratedMDIFrame &frame)
{
    // CALVIEW as it is now, at start: only the first list opens the calendar view.
    auto calendarStart = std::make_shared<bool>(frame.app().settings.calView);
    frame.documents().setViewFactory(ListViewSlot,
                                     [&frame, calendarStart](TApptDocument &doc) -> QWidget * {
                                         return new TApptView(doc, listSettings(frame.app()),
                                                              hostFor(frame, doc, calendarStart));
                                     });
    frame.updateActions();
}

} // namespace dvw
