#include "entryinstall.h"

#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "tapptview.h"

namespace dvw {

namespace {

TApptView *currentList(TDVDecoratedMDIFrame &frame)
{
    DVDocManager &docs = frame.documents();
    TApptDocument *doc = docs.current();
    dvwMDIChild *window = doc ? docs.viewWindow(*doc, ListViewSlot) : nullptr;
    return window ? qobject_cast<TApptView *>(window->widget()) : nullptr;
}

} // namespace

EntryContext entryContextOf(const FeatureServices &services, TDVDecoratedMDIFrame &frame,
                            TApptDocument &doc, QWidget *parent)
{
    return {doc,
            *services.prompter,
            *services.beeper,
            *services.clipboard,
            [scope = services.chooseScope, parent] { return scope(parent); },
            frame.app().settings().prompt};
}

void InstallEntryOps(TDVDecoratedMDIFrame &frame, const FeatureServices &services)
{
    // Runs one command on the current list's cursor, then shows what changed everywhere.
    const auto onList = [&frame, services](auto action) {
        return [&frame, services, action] {
            TApptView *view = currentList(frame);
            TApptDocument *doc = view ? view->document() : nullptr;
            if (doc == nullptr)
                return;
            EntryContext context = entryContextOf(services, frame, *doc, view);
            action(context, *view, frame);
        };
    };
    const auto hasList = [&frame] { return currentList(frame) != nullptr; };
    const auto showOutcome = [](TDVDecoratedMDIFrame &f, TApptView &view,
                                const std::optional<EntryOutcome> &outcome, bool withDate) {
        if (!outcome)
            return;
        emit f.documents().documentsRefreshed();
        view.showChangedRows(outcome->position,
                             withDate ? std::optional<TDate>(outcome->goToDate) : std::nullopt);
        f.documents().updateTitles();
    };

    CommandRegistry &r = frame.commands();
    r.add(Cm::MarkDone,
          onList([showOutcome](EntryContext &c, TApptView &view, TDVDecoratedMDIFrame &f) {
              showOutcome(f, view, MarkDoneAt(c, view.cursorLine()), false);
          }),
          hasList);
    r.add(Cm::EditCut,
          onList([showOutcome](EntryContext &c, TApptView &view, TDVDecoratedMDIFrame &f) {
              showOutcome(f, view, DeleteAt(c, view.cursorLine()), true);
          }),
          hasList);
    r.add(Cm::EditCopy, onList([](EntryContext &c, TApptView &view, TDVDecoratedMDIFrame &) {
              CopyAt(c, view.cursorLine());
          }),
          hasList);
}

} // namespace dvw
