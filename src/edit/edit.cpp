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
#include "views/entryinstall.h"
#include "views/monthviews.h"
#include "views/tapptview.h"
#include "views/tfileview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace dvw {

namespace {

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
bool storeFromFileView(TApptDocument &doc, const EditTarget &target, int insertAt,
                       TApptDialog &dialog, const QPointer<TFileView> &view, Beeper &beeper)
{
    if (!dialog.accepted() || view.isNull())
        return false;
    const std::string &line = dialog.form().line();
    if (target.line < 0) {
        if (line.empty())
            return false;
        doc.InsertLine(std::clamp(insertAt, 0, static_cast<int>(doc.lines().size())), line);
    } else {
        const auto at = static_cast<std::size_t>(target.line);
        if (dialog.form().result() == ApptForm::Unchanged)
            return false;
        if (at >= doc.lines().size() || doc.lines()[at].text != target.text) {
            beeper.beep();
            return false;
        }
        const bool marked = doc.lines()[at].marked;
        doc.ReplaceLine(target.line, line);
        doc.lineTable()[at].marked = marked;
    }
    view->refresh();
    return true;
}

// Opens the dialog on the target's text (or the given new text) with the opening date and
// stores its outcome. Whether a line changed. From the file view the dialog opens on the
// raw line, and a new line goes in before the current row.
bool runEdit(TDVDecoratedMDIFrame &frame, const FeatureServices &services, TApptDocument &doc,
             const EditTarget &target, const std::string &newText, const TDate &opening,
             TFileView *fileView = nullptr)
{
    DVDocManager &docs = frame.documents();
    QPointer<DocumentSignals> alive(docs.signalsOf(doc));
    // The dialog reads lines in a context of its own, so nothing it does while open
    // touches the document.
    SimpleReadContext context(doc.dateSettings());
    for (const CatColorStruct &c : doc.categoryColours())
        context.setCategoryColour(c.packedCode, c.colour);
    FormDocument form = FormDocumentOf(doc);
    form.context = &context;
    ApptDialogSettings settings = dialogSettings(frame);
    QPointer<TFileView> fileRows(fileView);
    const int insertAt = fileView ? fileView->currentRow() : -1;
    if (fileView) {
        settings.bigDialog = false;
        settings.storeBigDialog = nullptr;
    }
    const TDate today = doc.window().today;
    settings.describe = [&context, today](const std::string &line) {
        const std::string next = NextDatesOf(line, context, today, 5);
        return QString::fromStdString(ReadingOf(line, context) + (next.empty() ? "" : "\n") + next);
    };
    TApptDialog dialog(&frame, std::move(form), target.line < 0 ? newText : target.text, opening,
                       std::move(settings), frame.app().clock());
    services.runDialog(dialog);
    // The document may have closed while the dialog was open.
    if (alive.isNull())
        return false;
    if (fileView) {
        const bool stored
            = storeFromFileView(doc, target, insertAt, dialog, fileRows, *services.beeper);
        frame.updateActions();
        return stored;
    }
    const bool changed = StoreEditedLine(doc, target, dialog.accepted(), dialog.form());
    if (!changed && dialog.accepted() && dialog.form().result() != ApptForm::Unchanged)
        services.beeper->beep();
    frame.updateActions();
    return changed;
}

template<typename View>
View *viewOf(TDVDecoratedMDIFrame &frame, const TApptDocument &doc, ViewSlot slot)
{
    dvwMDIChild *window = frame.documents().viewWindow(doc, slot);
    return window ? qobject_cast<View *>(window->widget()) : nullptr;
}

// The day a new appointment starts on: the month pane's, when it is open; else the day of
// the list's cursor; else today.
TDate insertionDate(TDVDecoratedMDIFrame &frame, const TApptDocument &doc)
{
    if (const TMonthView *pane = viewOf<TMonthView>(frame, doc, MonthPaneSlot))
        return pane->selectedDate();
    const TApptView *list = listOf(frame, doc);
    const TDate date = list ? list->cursorDate() : TDate();
    return date.isValid() ? date : doc.window().today;
}

// Whether the list's cursor is in a day block (under a date heading) rather than the notes.
bool cursorInDayBlock(const TApptView &list)
{
    const ApptRows &rows = list.rowRules();
    const int heading = rows.headingAbove(list.cursorLine());
    return heading >= 0 && rows.kindAt(heading) == DateHeading;
}

// The clipboard's appointment, composed for the list's cursor, opens in the dialog.
void paste(TDVDecoratedMDIFrame &frame, const FeatureServices &services, TApptDocument &doc)
{
    TApptView *list = listOf(frame, doc);
    if (list == nullptr)
        return;
    EntryContext context = entryContextOf(services, frame, doc, list);
    const std::optional<std::string> text = PasteText(context);
    if (!text)
        return;
    const std::string line
        = PastedLineText(doc, *text, cursorInDayBlock(*list), insertionDate(frame, doc));
    runEdit(frame, services, doc, {}, line, insertionDate(frame, doc));
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

EditDialogs editDialogsOf(TDVDecoratedMDIFrame &frame, const FeatureServices &services)
{
    EditDialogs dialogs;
    dialogs.line = [&frame, services](TApptDocument &doc, int line, const std::string &text,
                                      const TDate &date) {
        const EditTarget target = line < 0 ? EditTarget {} : EditTarget {line, text};
        return runEdit(frame, services, doc, target, text, date);
    };
    // From the file view the dialog opens on the raw line of the current row, or on a new
    // line that goes in before it.
    dialogs.fileRow = [&frame, services](TFileView &view, bool newLine) {
        TApptDocument *doc = view.document();
        if (doc == nullptr || (!newLine && doc->lines().empty()))
            return false;
        const int row = view.currentRow();
        const EditTarget target = newLine
            ? EditTarget {}
            : EditTarget {row, doc->lines()[static_cast<std::size_t>(row)].text};
        return runEdit(frame, services, *doc, target, {}, doc->window().today, &view);
    };
    return dialogs;
}

void InstallEdit(TDVDecoratedMDIFrame &frame, const FeatureServices &services)
{
    DVDocManager &docs = frame.documents();
    CommandRegistry &r = frame.commands();
    const auto withList = [&frame, &docs] {
        return docs.current() != nullptr && listOf(frame, *docs.current()) != nullptr;
    };
    r.add(
        Cm::InsertAppt,
        [&frame, &docs, services] {
            if (TApptDocument *doc = docs.current())
                runEdit(frame, services, *doc, {}, {}, insertionDate(frame, *doc));
        },
        withList);
    r.add(
        Cm::InsertWithDate,
        [&frame, &docs, services] {
            if (TApptDocument *doc = docs.current()) {
                const TDate date = insertionDate(frame, *doc);
                runEdit(frame, services, *doc, {}, FormatDate(date, doc->dateSettings()), date);
            }
        },
        withList);
    r.add(
        Cm::EditAppt,
        [&frame, &docs, services] {
            TApptDocument *doc = docs.current();
            TApptView *list = doc ? listOf(frame, *doc) : nullptr;
            if (list == nullptr)
                return;
            if (const std::optional<EditTarget> target = TargetAt(*doc, list->cursorLine()))
                runEdit(frame, services, *doc, *target, {}, insertionDate(frame, *doc));
        },
        withList);
    r.add(
        Cm::EditPaste,
        [&frame, &docs, services] {
            if (TApptDocument *doc = docs.current())
                paste(frame, services, *doc);
        },
        [withList, clipboard = services.clipboard] { return withList() && clipboard->hasText(); });
    // Paste follows what the clipboard holds.
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        QObject::connect(clipboard, &QClipboard::dataChanged, &frame,
                         [&frame] { frame.updateActions(); });
    frame.updateActions();
}

} // namespace dvw
