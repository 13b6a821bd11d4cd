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
#include "views/fileview.h"
#include "views/tapptlistview.h"
#include "views/tapptview.h"

#include <QApplication>
#include <QPointer>

#include <algorithm>
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

// The file view's outcome: a new line before the row that was current, or the row's new
// text with its mark kept; nothing when the row no longer holds the text it opened with.
void storeFromFileView(TApptDocument &doc, const EditTarget &target, int insertAt,
                       TApptDialog &dialog, const QPointer<TApptListView> &view)
{
    if (!dialog.accepted() || view.isNull())
        return;
    const std::string &line = dialog.form().line();
    if (target.line < 0) {
        if (line.empty())
            return;
        doc.InsertLine(std::clamp(insertAt, 0, static_cast<int>(doc.lines().size())), line);
    } else {
        const auto at = static_cast<std::size_t>(target.line);
        if (dialog.form().result() == ApptForm::Unchanged)
            return;
        if (at >= doc.lines().size() || doc.lines()[at].text != target.text) {
            QApplication::beep();
            return;
        }
        const bool marked = doc.lines()[at].marked;
        doc.ReplaceLine(target.line, line);
        doc.lineTable()[at].marked = marked;
    }
    view->refresh();
}

// Opens the dialog on the target's text (or the given new text) and stores its outcome.
// From the file view the dialog opens on the raw line, and a new line goes in before the
// current row.
void runEdit(TDVDecoratedMDIFrame &frame, EditTarget target, const std::string &newText,
             TApptListView *fileView = nullptr)
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
    QPointer<TApptListView> fileRows(fileView);
    const int insertAt = fileView ? fileView->currentRow() : -1;
    if (fileView) {
        settings.bigDialog = false;
        settings.storeBigDialog = nullptr;
    }
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
    if (fileView) {
        storeFromFileView(*doc, target, insertAt, dialog, fileRows);
        frame.updateActions();
        return;
    }
    if (!StoreEditedLine(*doc, target, dialog.accepted(), dialog.form()) && dialog.accepted()
        && dialog.form().result() != ApptForm::Unchanged)
        QApplication::beep();
    frame.updateActions();
}

// Insert and Edit while the current document shows its file view: the raw line of the row.
void registerFileViewEdits(TDVDecoratedMDIFrame &frame)
{
    CommandRegistry &r = frame.commands();
    const auto active = [&frame] { return CurrentFileView(frame) != nullptr; };
    r.addOverride(
        Cm::InsertAppt,
        [&frame] {
            if (TApptListView *view = CurrentFileView(frame))
                runEdit(frame, {}, {}, view);
        },
        active);
    r.addOverride(
        Cm::EditAppt,
        [&frame] {
            TApptListView *view = CurrentFileView(frame);
            TApptDocument *doc = view ? view->document() : nullptr;
            if (doc == nullptr || doc->lines().empty())
                return;
            const int row = view->currentRow();
            runEdit(frame, {row, doc->lines()[static_cast<std::size_t>(row)].text}, {}, view);
        },
        active,
        [&frame] {
            TApptListView *view = CurrentFileView(frame);
            return view && view->document() && !view->document()->lines().empty();
        });
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
    registerFileViewEdits(frame);
    frame.updateActions();
}

void SetApptDialogRunner(TDVDecoratedMDIFrame &frame, ApptDialogRunner runner)
{
    holderOf(frame).runner = std::move(runner);
}

} // namespace dvw
