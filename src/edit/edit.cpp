#include "edit.h"

#include "apptreading.h"
#include "core/category.h"
#include "core/datetext.h"
#include "platform/helpbook.h"
#include "settings/settingkeys.h"
#include "shell/commands.h"
#include "shell/documentsignals.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/tapptdocument.h"
#include "views/tapptview.h"

#include <QApplication>
#include <QPointer>

#include <utility>

namespace dvw {

namespace {

// Holds the dialog runner of one main window.
class RunnerHolder : public QObject
{
public:
    explicit RunnerHolder(QObject *parent)
        : QObject(parent)
    {
        setObjectName(QStringLiteral("apptDialogRunner"));
    }
    ApptDialogRunner runner = RunWindowModal;
};

RunnerHolder &holderOf(TDVDecoratedMDIFrame &frame)
{
    auto *holder = frame.findChild<RunnerHolder *>(QStringLiteral("apptDialogRunner"),
                                                   Qt::FindDirectChildrenOnly);
    return holder ? *holder : *new RunnerHolder(&frame);
}

TApptView *listOf(TDVDecoratedMDIFrame &frame, const TApptDocument &doc)
{
    dvwMDIChild *window = frame.documents().viewWindow(doc, ListViewSlot);
    return window ? qobject_cast<TApptView *>(window->widget()) : nullptr;
}

ApptDialogSettings dialogSettings(TDVDecoratedMDIFrame &frame)
{
    dvwApp &app = frame.app();
    const Settings &s = app.settings();
    ApptDialogSettings d;
    d.bigDialog = s.bigDialog;
    d.bWidth = s.bWidth;
    d.bHeight = s.bHeight;
    d.sWidth = s.sWidth;
    d.sHeight = s.sHeight;
    d.storeBigDialog
        = [&app](bool enlarged) { app.changeSetting(settingkeys::BIGDIALOG, enlarged); };
    d.showHelp = [&app](int topic) { app.help().showTopic(topic); };
    return d;
}

// Opens the dialog on the target's text (or the given new text) and stores its outcome.
void runEdit(TDVDecoratedMDIFrame &frame, EditTarget target, const std::string &newText)
{
    DVDocManager &docs = frame.documents();
    TApptDocument *doc = docs.current();
    if (doc == nullptr)
        return;
    TApptView *list = listOf(frame, *doc);
    const TDate opening = list ? list->cursorDate() : doc->window().today;
    QPointer<DocumentSignals> alive(docs.signalsOf(*doc));
    // The dialog reads lines in a context of its own, so nothing it does while open
    // touches the document.
    SimpleReadContext context(doc->dateSettings());
    for (const CatColorStruct &c : doc->categoryColours())
        context.setCategoryColour(c.packedCode, c.colour);
    FormDocument form = FormDocumentOf(*doc);
    form.context = &context;
    ApptDialogSettings settings = dialogSettings(frame);
    const TDate today = doc->window().today;
    settings.describe = [&context, today](const std::string &line) {
        const std::string next = NextDatesOf(line, context, today, 5);
        return QString::fromStdString(ReadingOf(line, context) + (next.empty() ? "" : "\n") + next);
    };
    TApptDialog dialog(&frame, std::move(form), target.line < 0 ? newText : target.text, opening,
                       std::move(settings), frame.app().clock());
    holderOf(frame).runner(dialog);
    // The document may have closed while the dialog was open.
    if (alive.isNull())
        return;
    if (!StoreEditedLine(*doc, target, dialog.accepted(), dialog.form()) && dialog.accepted()
        && dialog.form().result() != ApptForm::Unchanged)
        QApplication::beep();
    frame.updateActions();
}

} // namespace

std::optional<EditTarget> TargetAt(const TApptDocument &doc, int position)
{
    const std::vector<IndexTy> &index = doc.engine().index();
    if (position < 0 || static_cast<std::size_t>(position) >= index.size())
        return std::nullopt;
    const IndexTy &entry = index[static_cast<std::size_t>(position)];
    if ((entry.kind != DatedEntry && entry.kind != NoteEntry) || entry.value < 0
        || static_cast<std::size_t>(entry.value) >= doc.lines().size())
        return std::nullopt;
    return EditTarget {entry.value, doc.lines()[static_cast<std::size_t>(entry.value)].text};
}

FormDocument FormDocumentOf(TApptDocument &doc)
{
    FormDocument form;
    form.context = &doc;
    form.today = doc.window().today;
    const std::vector<CatStruct> &categories = doc.categories();
    for (std::size_t i = 0; i < categories.size(); ++i) {
        std::string description(doc.categoryDescription(static_cast<int>(i)));
        if (description.empty())
            description = UnpackCategory(categories[i].packedCode);
        form.categories.push_back({categories[i].packedCode, std::move(description)});
    }
    return form;
}

bool StoreEditedLine(TApptDocument &doc, const EditTarget &target, bool accepted,
                     const ApptForm &form)
{
    if (!accepted)
        return false;
    if (target.line < 0) {
        if (form.line().empty())
            return false;
        doc.AppendLine(form.line());
        return true;
    }
    if (form.result() == ApptForm::Unchanged)
        return false;
    const auto line = static_cast<std::size_t>(target.line);
    if (line >= doc.lines().size() || doc.lines()[line].text != target.text)
        return false;
    doc.ReplaceLine(target.line, form.line());
    return true;
}

void InstallEdit(TDVDecoratedMDIFrame &frame)
{
    holderOf(frame);
    DVDocManager &docs = frame.documents();
    CommandRegistry &r = frame.commands();
    const auto withList = [&frame, &docs] {
        return docs.current() != nullptr && listOf(frame, *docs.current()) != nullptr;
    };
    r.add(
        Cm::InsertAppt, [&frame] { runEdit(frame, {}, {}); }, withList);
    r.add(
        Cm::InsertWithDate,
        [&frame, &docs] {
            TApptDocument *doc = docs.current();
            TApptView *list = doc ? listOf(frame, *doc) : nullptr;
            const TDate date = list ? list->cursorDate() : TDate();
            if (doc != nullptr)
                runEdit(
                    frame, {},
                    FormatDate(date.isValid() ? date : doc->window().today, doc->dateSettings()));
        },
        withList);
    r.add(
        Cm::EditAppt,
        [&frame, &docs] {
            TApptDocument *doc = docs.current();
            TApptView *list = doc ? listOf(frame, *doc) : nullptr;
            if (list == nullptr)
                return;
            if (const std::optional<EditTarget> target = TargetAt(*doc, list->cursorLine()))
                runEdit(frame, *target, {});
        },
        withList);
    frame.updateActions();
}

void SetApptDialogRunner(TDVDecoratedMDIFrame &frame, ApptDialogRunner runner)
{
    holderOf(frame).runner = std::move(runner);
}

} // namespace dvw
