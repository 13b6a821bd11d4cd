#include "fileview.h"

#include "entryinstall.h"
#include "platform/filechooser.h"
#include "platform/helpbook.h"
#include "platform/prompter.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/screenfonts.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/fileoperations.h"
#include "store/textmatch.h"
#include "tapptlistview.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>

namespace dvw {

namespace {

// The search text keeps at most this many characters, as the search dialog does.
constexpr std::size_t MaxSearchCharacters = 99;

class ServicesHolder : public QObject
{
public:
    explicit ServicesHolder(QObject *parent)
        : QObject(parent)
    {
        setObjectName(QStringLiteral("fileViewServices"));
    }
    FileViewServices services;
};

ServicesHolder &holderOf(TDVDecoratedMDIFrame &frame)
{
    auto *holder = frame.findChild<ServicesHolder *>(QStringLiteral("fileViewServices"),
                                                     Qt::FindDirectChildrenOnly);
    return holder ? *holder : *new ServicesHolder(&frame);
}

FileViewServices &servicesOf(TDVDecoratedMDIFrame &frame)
{
    FileViewServices &s = holderOf(frame).services;
    if (!s.beeper)
        s.beeper = std::make_shared<SystemBeeper>();
    if (!s.clipboard)
        s.clipboard = SystemEntryClipboard();
    return s;
}

MenuEntry command(std::string_view text, int number)
{
    return {MenuEntry::Kind::Command, text, number, {}, {}, MenuGroup::File, {}};
}

MenuEntry popup(std::string_view text, MenuGroup group, std::vector<MenuEntry> entries)
{
    return {MenuEntry::Kind::Popup, text, 0, {}, {}, group, std::move(entries)};
}

MenuEntry separator()
{
    return {MenuEntry::Kind::Separator, {}, 0, {}, {}, MenuGroup::File, {}};
}

// The file view's menu: its own File, Edit, Mark and Sort popups; Search and View stay as
// the main menu has them, so that View > File closes the view again.
std::vector<MenuEntry> fileViewMenu()
{
    std::vector<MenuEntry> menu;
    menu.push_back(popup("&File", MenuGroup::File,
                         {command("&New", Cm::FileNew), command("&Open...", Cm::FileOpen),
                          command("&Close", Cm::FileClose), command("&Save", Cm::FileSave),
                          command("Save &As...", Cm::FileSaveAs), separator(),
                          command("Archi&ve", Cm::FileArchive),
                          command("append &Marked", Cm::FileAppendMarked),
                          command("append &From", Cm::FileAppendFrom), separator(),
                          command("E&xit\tAlt+F4", Cm::Exit)}));
    menu.push_back(popup("&Edit", MenuGroup::Edit,
                         {command("&Insert", Cm::InsertAppt), command("&Edit", Cm::EditAppt),
                          command("&Delete", Cm::EditCut), command("&Copy", Cm::EditCopy),
                          command("&Paste", Cm::EditPaste)}));
    for (const MenuEntry &e : MainMenu()) {
        if (e.group == MenuGroup::Container)
            menu.push_back(e);
    }
    menu.push_back(popup("&Mark", MenuGroup::Container,
                         {command("Mark &Outdated appointments", Cm::FileMarkOutdated),
                          command("Mark matched &String", Cm::FileMarkString),
                          command("&Toggle current mark", Cm::FileToggleMark),
                          command("&Clear all marks", Cm::FileClearMarks)}));
    menu.push_back(popup("Sor&t", MenuGroup::Container,
                         {command("Sort by &Date", Cm::FileSortByDate),
                          command("Sort by &Category", Cm::FileSortByCategory)}));
    return menu;
}

QString caption()
{
    return QStringLiteral("Dayvane");
}

QString fromPath(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toPath(const QString &path)
{
    const QByteArray bytes = path.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The current document and its file view, both or neither.
struct Current
{
    TApptDocument *doc = nullptr;
    TApptListView *view = nullptr;
    explicit operator bool() const { return view != nullptr; }
};

Current currentOf(TDVDecoratedMDIFrame &frame)
{
    Current c;
    c.doc = frame.documents().current();
    c.view = c.doc ? FileViewOf(frame, *c.doc) : nullptr;
    if (!c.view)
        c.doc = nullptr;
    return c;
}

// Opening the file view closes the document's other views, after it is open, so the
// document never loses its last window on the way.
void toggleFileView(TDVDecoratedMDIFrame &frame, TApptDocument &doc)
{
    DVDocManager &docs = frame.documents();
    if (docs.viewWindow(doc, FileViewSlot)) {
        if (docs.openView(doc, ListViewSlot))
            docs.closeView(doc, FileViewSlot);
        return;
    }
    dvwMDIChild *window = docs.openView(doc, FileViewSlot);
    if (window == nullptr)
        return;
    window->setViewMenu(fileViewMenu());
    frame.setViewMenu(window->viewMenu());
    for (ViewSlot slot : {ListViewSlot, CalendarViewSlot, MonthPaneSlot, CurrentPaneSlot})
        docs.closeView(doc, slot);
}

std::vector<std::string> openPaths(const DVDocManager &docs)
{
    std::vector<std::string> paths;
    for (int i = 0; i < docs.count(); ++i) {
        if (const TApptDocument *doc = docs.document(i))
            paths.push_back(doc->path());
    }
    return paths;
}

// Appends the marked lines to the target; once they are there, offers to take them out
// of the document. A failure keeps the lines and their marks and says why.
void copyMarked(TDVDecoratedMDIFrame &frame, const std::string &target)
{
    const Current c = currentOf(frame);
    if (!c)
        return;
    Prompter &prompter = frame.app().prompter();
    const CopyMarkedResult copied
        = AppendMarkedTo(*c.doc, target, ProtectedFilesOf(openPaths(frame.documents())));
    if (!copied.ok) {
        prompter.info(caption(),
                      QStringLiteral("The marked entries were not copied.\n\n")
                          + fromPath(copied.reason),
                      Prompter::Icon::Stop);
        return;
    }
    if (!copied.warning.empty())
        prompter.info(caption(), fromPath(copied.warning), Prompter::Icon::Warning);
    QPointer<TApptListView> view(c.view);
    if (!prompter.okCancel(
            caption(),
            QStringLiteral("Marked entries have been copied.  Delete them from this file?")))
        return;
    // The question ran the event loop: the view (and its document) may have gone.
    if (view.isNull() || view->document() == nullptr)
        return;
    view->document()->RemoveMarkedLines();
    view->setCurrentRow(0);
    view->refresh();
}

void archive(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (c)
        copyMarked(frame, ArchivePath(c.doc->path(), frame.app().settings().archiveFile));
}

void appendMarked(TDVDecoratedMDIFrame &frame)
{
    const QString path = frame.app().files().saveFile(
        QStringLiteral("append Marked"), DVDocManager::filter(), QString(), QStringLiteral("APT"));
    if (!path.isEmpty())
        copyMarked(frame, toPath(path));
}

void appendFrom(TDVDecoratedMDIFrame &frame)
{
    const QString path
        = frame.app().files().openFile(QStringLiteral("append From"), DVDocManager::filter());
    const Current c = currentOf(frame);
    if (path.isEmpty() || !c)
        return;
    const AppendFromResult added = AppendLinesFrom(*c.doc, toPath(path));
    if (!added.ok) {
        frame.app().prompter().info(
            caption(), QStringLiteral("No lines were added.\n\n") + fromPath(added.reason),
            Prompter::Icon::Stop);
        return;
    }
    c.view->refresh();
}

// The search text the file view marks and searches with, asked as the search dialog asks.
bool askSearchText(TDVDecoratedMDIFrame &frame)
{
    dvwApp &app = frame.app();
    const std::optional<QString> answer
        = app.prompter().askText(QStringLiteral("Search"), QStringLiteral("Enter search string:"),
                                 QString::fromStdString(app.filters().searchText));
    if (!answer)
        return false;
    ViewFilters filters = app.filters();
    filters.searchText = CutToCharacters(answer->toStdString(), MaxSearchCharacters);
    app.setFilters(filters);
    return true;
}

void findNext(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (!c)
        return;
    const std::string &what = frame.app().filters().searchText;
    if (what.empty())
        return;
    const std::int32_t found = NextMatchingLine(*c.doc, c.view->currentRow(), what);
    if (found < 0)
        servicesOf(frame).beeper->beep();
    else
        c.view->setCurrentRow(found);
}

void markString(TDVDecoratedMDIFrame &frame)
{
    if (!askSearchText(frame))
        return;
    const Current c = currentOf(frame);
    if (!c)
        return;
    MarkMatching(*c.doc, frame.app().filters().searchText);
    c.view->refresh();
}

void markOutdated(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (!c)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    MarkOutdated(*c.doc, c.doc->window().today);
    QGuiApplication::restoreOverrideCursor();
    c.view->refresh();
}

void sortLines(TDVDecoratedMDIFrame &frame, SortMode mode)
{
    const Current c = currentOf(frame);
    if (!c)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    c.doc->SortLines(mode);
    QGuiApplication::restoreOverrideCursor();
    c.view->refresh();
}

void toggleMark(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (!c || c.doc->lines().empty())
        return;
    TimeString &line = c.doc->lineTable()[static_cast<std::size_t>(c.view->currentRow())];
    line.marked = !line.marked;
    c.view->refresh();
}

// Copies the row, then takes it out. The question runs the event loop, so the row must
// still hold the text it had before it.
void deleteRow(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (!c || c.doc->lines().empty())
        return;
    const int row = c.view->currentRow();
    const std::string text = c.doc->lines()[static_cast<std::size_t>(row)].text;
    QPointer<TApptListView> view(c.view);
    if (frame.app().settings().prompt
        && !frame.app().prompter().okCancel(caption(), QStringLiteral("Delete entry?")))
        return;
    TApptDocument *doc = view ? view->document() : nullptr;
    if (doc == nullptr || static_cast<std::size_t>(row) >= doc->lines().size()
        || doc->lines()[static_cast<std::size_t>(row)].text != text) {
        servicesOf(frame).beeper->beep();
        return;
    }
    servicesOf(frame).clipboard->put(text);
    doc->RemoveLine(row);
    view->refresh();
}

void copyRow(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (c && !c.doc->lines().empty()
        && !servicesOf(frame).clipboard->put(
            c.doc->lines()[static_cast<std::size_t>(c.view->currentRow())].text))
        servicesOf(frame).beeper->beep();
}

void pasteRow(TDVDecoratedMDIFrame &frame)
{
    const Current c = currentOf(frame);
    if (!c)
        return;
    std::optional<std::string> text = servicesOf(frame).clipboard->text();
    if (!text)
        return;
    text->resize(std::min(text->size(), text->find('\0')));
    const int row = c.doc->lines().empty() ? 0 : c.view->currentRow();
    c.doc->InsertLine(row, *text);
    c.view->refresh();
}

QWidget *makeFileView(TDVDecoratedMDIFrame &frame, TApptDocument &doc)
{
    DVDocManager &docs = frame.documents();
    ViewHost host;
    host.runCommand = [&frame](int command) { frame.runCommand(command); };
    host.commandEnabled = [&frame](int command) { return frame.commands().canRun(command); };
    host.showHelp = [&frame](int topic) { frame.app().help().showTopic(topic); };
    auto *view = new TApptListView(*docs.signalsOf(doc), frame.app().fonts()[BodyFont].font,
                                   std::move(host));
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, view,
                     [&frame, view] { view->setBodyFont(frame.app().fonts()[BodyFont].font); });
    // A rebuild from elsewhere (Rescan, a new day) may change the line count.
    QObject::connect(&docs, &DVDocManager::documentsRefreshed, view, &TApptListView::refresh);
    return view;
}

void registerCommands(TDVDecoratedMDIFrame &frame)
{
    DVDocManager &docs = frame.documents();
    CommandRegistry &r = frame.commands();
    const auto active = [&frame] { return static_cast<bool>(currentOf(frame)); };
    const auto hasRows = [&frame] {
        const Current c = currentOf(frame);
        return c && !c.doc->lines().empty();
    };
    const auto hasMarks = [&frame] {
        const Current c = currentOf(frame);
        return c && CountMarked(*c.doc) > 0;
    };
    r.add(
        Cm::ViewFile, [&frame, &docs] { toggleFileView(frame, *docs.current()); },
        [&docs] { return docs.current() && docs.canMakeView(FileViewSlot); });
    r.addOverride(
        Cm::ViewAppointment, [&frame, &docs] { toggleFileView(frame, *docs.current()); }, active);
    r.add(
        Cm::FileArchive, [&frame] { archive(frame); }, hasMarks);
    r.add(
        Cm::FileAppendMarked, [&frame] { appendMarked(frame); }, hasMarks);
    r.add(
        Cm::FileAppendFrom, [&frame] { appendFrom(frame); }, active);
    r.add(
        Cm::FileMarkOutdated, [&frame] { markOutdated(frame); }, active);
    r.add(
        Cm::FileMarkString, [&frame] { markString(frame); }, active);
    r.add(
        Cm::FileToggleMark, [&frame] { toggleMark(frame); }, hasRows);
    r.add(
        Cm::FileClearMarks,
        [&frame] {
            if (const Current c = currentOf(frame)) {
                ClearMarks(*c.doc);
                c.view->refresh();
            }
        },
        active);
    r.add(
        Cm::FileSortByDate, [&frame] { sortLines(frame, SortMode::ByDate); }, active);
    r.add(
        Cm::FileSortByCategory, [&frame] { sortLines(frame, SortMode::ByCategory); }, active);
    r.addOverride(
        Cm::EditCut, [&frame] { deleteRow(frame); }, active, hasRows);
    r.addOverride(
        Cm::EditCopy, [&frame] { copyRow(frame); }, active, hasRows);
    r.addOverride(
        Cm::EditPaste, [&frame] { pasteRow(frame); }, active,
        [&frame] { return servicesOf(frame).clipboard->text().has_value(); });
    r.addOverride(
        Cm::Find,
        [&frame] {
            if (askSearchText(frame))
                findNext(frame);
        },
        active);
    r.addOverride(
        Cm::FindNext, [&frame] { findNext(frame); }, active);
}

} // namespace

TApptListView *FileViewOf(TDVDecoratedMDIFrame &frame, const TApptDocument &doc)
{
    dvwMDIChild *window = frame.documents().viewWindow(doc, FileViewSlot);
    return window ? qobject_cast<TApptListView *>(window->widget()) : nullptr;
}

TApptListView *CurrentFileView(TDVDecoratedMDIFrame &frame)
{
    return currentOf(frame).view;
}

void SetFileViewServices(TDVDecoratedMDIFrame &frame, FileViewServices services)
{
    holderOf(frame).services = std::move(services);
}

void InstallFileView(TDVDecoratedMDIFrame &frame, FileViewServices services)
{
    SetFileViewServices(frame, std::move(services));
    frame.documents().setViewFactory(
        FileViewSlot, [&frame](TApptDocument &doc) { return makeFileView(frame, doc); });
    registerCommands(frame);
}

} // namespace dvw
