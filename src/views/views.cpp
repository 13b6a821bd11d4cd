#include "views.h"

#include "listcursor.h"
#include "platform/helpbook.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "toneapptview.h"

namespace dvw {

namespace {

std::optional<int> listCursorOf(const DVDocManager &docs, const TApptDocument &doc)
{
    const dvwMDIChild *window = docs.viewWindow(doc, ListViewSlot);
    const auto *list = window ? dynamic_cast<const ListCursor *>(window->widget()) : nullptr;
    return list ? std::optional<int>(list->cursorLine()) : std::nullopt;
}

void focusList(TDVDecoratedMDIFrame &frame, const TApptDocument &doc)
{
    dvwMDIChild *window = frame.documents().viewWindow(doc, ListViewSlot);
    if (window == nullptr)
        return;
    frame.client()->setActiveSubWindow(window);
    if (QWidget *view = window->widget())
        view->setFocus(Qt::TabFocusReason);
}

QWidget *makeCurrentPane(TDVDecoratedMDIFrame &frame, TApptDocument &doc)
{
    DVDocManager &docs = frame.documents();
    auto *pane = new TOneApptView(doc, frame.app().fonts()[BodyFont].font,
                                  [&docs, &doc] { return listCursorOf(docs, doc); });
    QObject::connect(pane, &TOneApptView::commandRequested, &frame,
                     &TDVDecoratedMDIFrame::runCommand);
    QObject::connect(pane, &TOneApptView::helpRequested, pane,
                     [&frame](int context) { frame.app().help().showTopic(context); });
    QObject::connect(pane, &TOneApptView::focusListRequested, pane,
                     [&frame, &doc] { focusList(frame, doc); });
    QObject::connect(&docs, &DVDocManager::documentsRefreshed, pane, &TOneApptView::refresh);
    return pane;
}

} // namespace

void InstallViews(TDVDecoratedMDIFrame &frame)
{
    frame.documents().setViewFactory(
        CurrentPaneSlot, [&frame](TApptDocument &doc) { return makeCurrentPane(frame, doc); });
    frame.updateActions();
}

} // namespace dvw
