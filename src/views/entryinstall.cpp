#include "entryinstall.h"

#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "tapptview.h"
#include "tdeldialog.h"

namespace dvw {

namespace {

// The entry services and the edit dialog hook of one main window.
class EntryHolder : public QObject
{
public:
    explicit EntryHolder(QObject *parent)
        : QObject(parent)
    {
        setObjectName(QStringLiteral("entryServices"));
    }
    EntryServices services;
    EditDialogHook edit;
    bool installed = false;
};

EntryHolder &holderOf(TDVDecoratedMDIFrame &frame)
{
    auto *holder = frame.findChild<EntryHolder *>(QStringLiteral("entryServices"),
                                                  Qt::FindDirectChildrenOnly);
    if (holder == nullptr) {
        holder = new EntryHolder(&frame);
        SetEntryServices(frame, {});
    }
    return *holder;
}

TApptView *currentList(TDVDecoratedMDIFrame &frame)
{
    DVDocManager &docs = frame.documents();
    TApptDocument *doc = docs.current();
    dvwMDIChild *window = doc ? docs.viewWindow(*doc, ListViewSlot) : nullptr;
    return window ? qobject_cast<TApptView *>(window->widget()) : nullptr;
}

} // namespace

void SetEntryServices(TDVDecoratedMDIFrame &frame, EntryServices services)
{
    if (!services.beeper)
        services.beeper = std::make_shared<SystemBeeper>();
    if (!services.clipboard)
        services.clipboard = SystemEntryClipboard();
    if (!services.chooseScope)
        services.chooseScope = &TDelDialog::ask;
    holderOf(frame).services = std::move(services);
}

EntryContext EntryContextOf(TDVDecoratedMDIFrame &frame, TApptDocument &doc, QWidget *parent)
{
    // The services are looked up when a question is asked, so a test may replace them.
    const EntryServices &s = holderOf(frame).services;
    return {doc,
            frame.app().prompter(),
            *s.beeper,
            *s.clipboard,
            [&frame, parent] { return holderOf(frame).services.chooseScope(parent); },
            frame.app().settings().prompt};
}

bool EntryOpsInstalled(TDVDecoratedMDIFrame &frame)
{
    return holderOf(frame).installed;
}

void SetEditDialogHook(TDVDecoratedMDIFrame &frame, EditDialogHook hook)
{
    holderOf(frame).edit = std::move(hook);
}

const EditDialogHook &EditDialogHookOf(TDVDecoratedMDIFrame &frame)
{
    return holderOf(frame).edit;
}

void InstallEntryOps(TDVDecoratedMDIFrame &frame, EntryServices services)
{
    SetEntryServices(frame, std::move(services));
    holderOf(frame).installed = true;

    // Runs one command on the current list's cursor, then shows what changed everywhere.
    const auto onList = [&frame](auto action) {
        return [&frame, action] {
            TApptView *view = currentList(frame);
            TApptDocument *doc = view ? view->document() : nullptr;
            if (doc == nullptr)
                return;
            EntryContext context = EntryContextOf(frame, *doc, view);
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
