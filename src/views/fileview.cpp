#include "fileview.h"

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
#include "tfileview.h"
#include "views.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>

namespace dvw {

namespace {

// The search text keeps at most this many characters, as the search dialog does.
constexpr std::size_t MaxSearchCharacters = 99;

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

// The file view's menu: its own File and Edit popups, and Mark and Sort, which take the
// place of Categories, Alarm and Configure; Search, View, Window and Help stay as the main
// menu has them (View > File closes the view again).
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
    std::vector<MenuEntry> edit = undoEntries();
    for (const MenuEntry &e : {command("&Insert", Cm::InsertAppt), command("&Edit", Cm::EditAppt),
                               command("&Delete", Cm::EditCut), command("&Copy", Cm::EditCopy),
                               command("&Paste", Cm::EditPaste)})
        edit.push_back(e);
    menu.push_back(popup("&Edit", MenuGroup::Edit, std::move(edit)));
    menu.push_back(popup("&Mark", MenuGroup::Window,
                         {command("Mark &Outdated appointments", Cm::FileMarkOutdated),
                          command("Mark matched &String", Cm::FileMarkString),
                          command("&Toggle current mark", Cm::FileToggleMark),
                          command("&Clear all marks", Cm::FileClearMarks)}));
    menu.push_back(popup("Sor&t", MenuGroup::Window,
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

void toggleFileView(TDVDecoratedMDIFrame &frame, TApptDocument &doc)
{
    toggleSoleView(frame, doc, FileViewSlot, fileViewMenu());
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

// The commands of one file view. Each runs on that view's document; a question runs the
// event loop, so what follows one checks that the view is still there.
class FileViewCommands
{
public:
    FileViewCommands(TDVDecoratedMDIFrame &frame, FeatureServices services, TFileView &view)
        : m_frame(frame)
        , m_services(std::move(services))
        , m_view(&view)
    { }

    // Puts every command into the view's own table.
    static void addTo(TDVDecoratedMDIFrame &frame, const FeatureServices &services,
                      TFileView &view);

private:
    TApptDocument *doc() const { return m_view ? m_view->document() : nullptr; }
    bool hasRows() const { return doc() && !doc()->lines().empty(); }
    Prompter &prompter() const { return *m_services.prompter; }

    void copyMarked(const std::string &target);
    void archive();
    void appendMarked();
    void appendFrom();
    bool askSearchText();
    void findNext();
    void markString();
    void markOutdated();
    void sortLines(SortMode mode);
    void toggleMark();
    void clearMarks();
    void deleteRow();
    void copyRow();
    void pasteRow();

    TDVDecoratedMDIFrame &m_frame;
    FeatureServices m_services;
    QPointer<TFileView> m_view;
};

void FileViewCommands::addTo(TDVDecoratedMDIFrame &frame, const FeatureServices &services,
                             TFileView &view)
{
    auto c = std::make_shared<FileViewCommands>(frame, services, view);
    const auto open = [c] { return c->doc() != nullptr; };
    const auto hasRows = [c] { return c->hasRows(); };
    const auto hasMarks = [c] { return c->doc() && CountMarked(*c->doc()) > 0; };
    CommandRegistry &r = view.commands();
    // The appointment view command takes the document back to its list.
    r.add(
        Cm::ViewAppointment, [c] { toggleFileView(c->m_frame, *c->doc()); }, open);
    r.add(
        Cm::FileArchive, [c] { c->archive(); }, hasMarks);
    r.add(
        Cm::FileAppendMarked, [c] { c->appendMarked(); }, hasMarks);
    r.add(
        Cm::FileAppendFrom, [c] { c->appendFrom(); }, open);
    r.add(
        Cm::FileMarkOutdated, [c] { c->markOutdated(); }, open);
    r.add(
        Cm::FileMarkString, [c] { c->markString(); }, open);
    r.add(
        Cm::FileToggleMark, [c] { c->toggleMark(); }, hasRows);
    r.add(
        Cm::FileClearMarks, [c] { c->clearMarks(); }, open);
    r.add(
        Cm::FileSortByDate, [c] { c->sortLines(SortMode::ByDate); }, open);
    r.add(
        Cm::FileSortByCategory, [c] { c->sortLines(SortMode::ByCategory); }, open);
    r.add(
        Cm::EditCut, [c] { c->deleteRow(); }, hasRows);
    r.add(
        Cm::EditCopy, [c] { c->copyRow(); }, hasRows);
    r.add(
        Cm::EditPaste, [c] { c->pasteRow(); },
        [c] { return c->doc() && c->m_services.clipboard->text().has_value(); });
    r.add(
        Cm::Find,
        [c] {
            if (c->askSearchText())
                c->findNext();
        },
        open);
    r.add(
        Cm::FindNext, [c] { c->findNext(); }, open);
    // Insert and Edit open the edit dialog on raw lines, once it is installed.
    if (const FileRowEditHook edit = services.edit.fileRow) {
        r.add(
            Cm::InsertAppt, [c, edit] { edit(*c->m_view, true); }, open);
        r.add(
            Cm::EditAppt, [c, edit] { edit(*c->m_view, false); }, hasRows);
    }
}

// Appends the marked lines to the target; once they are there, offers to take them out
// of the document. A failure keeps the lines and their marks and says why.
void FileViewCommands::copyMarked(const std::string &target)
{
    const CopyMarkedResult copied
        = AppendMarkedTo(*doc(), target, ProtectedFilesOf(openPaths(m_frame.documents())));
    if (!copied.ok) {
        prompter().info(caption(),
                        QStringLiteral("The marked entries were not copied.\n\n")
                            + fromPath(copied.reason),
                        Prompter::Icon::Stop);
        return;
    }
    if (!copied.warning.empty())
        prompter().info(caption(), fromPath(copied.warning), Prompter::Icon::Warning);
    if (!prompter().okCancel(
            caption(),
            QStringLiteral("Marked entries have been copied.  Delete them from this file?")))
        return;
    // The question ran the event loop: the view (and its document) may have gone.
    if (doc() == nullptr)
        return;
    doc()->RemoveMarkedLines();
    m_view->setCurrentRow(0);
    m_view->refresh();
}

void FileViewCommands::archive()
{
    copyMarked(ArchivePath(doc()->path(), m_frame.app().archiveFileInUse()));
}

void FileViewCommands::appendMarked()
{
    const QString path = m_frame.app().files().saveFile(
        QStringLiteral("append Marked"), DVDocManager::filter(), QString(), QStringLiteral("APT"));
    if (!path.isEmpty() && doc())
        copyMarked(toPath(path));
}

void FileViewCommands::appendFrom()
{
    const QString path
        = m_frame.app().files().openFile(QStringLiteral("append From"), DVDocManager::filter());
    if (path.isEmpty() || doc() == nullptr)
        return;
    const AppendFromResult added = AppendLinesFrom(*doc(), toPath(path));
    if (!added.ok) {
        prompter().info(caption(),
                        QStringLiteral("No lines were added.\n\n") + fromPath(added.reason),
                        Prompter::Icon::Stop);
        return;
    }
    m_view->refresh();
}

// The search text the file view marks and searches with, asked as the search dialog asks.
bool FileViewCommands::askSearchText()
{
    dvwApp &app = m_frame.app();
    const std::optional<QString> answer
        = prompter().askText(QStringLiteral("Search"), QStringLiteral("Enter search string:"),
                             QString::fromStdString(app.filters().searchText));
    if (!answer)
        return false;
    ViewFilters filters = app.filters();
    filters.searchText = CutToCharacters(answer->toStdString(), MaxSearchCharacters);
    app.setFilters(filters);
    return true;
}

void FileViewCommands::findNext()
{
    const std::string &what = m_frame.app().filters().searchText;
    if (doc() == nullptr || what.empty())
        return;
    const std::int32_t found = NextMatchingLine(*doc(), m_view->currentRow(), what);
    if (found < 0)
        m_services.beeper->beep();
    else
        m_view->setCurrentRow(found);
}

void FileViewCommands::markString()
{
    if (!askSearchText() || doc() == nullptr)
        return;
    MarkMatching(*doc(), m_frame.app().filters().searchText);
    m_view->refresh();
}

void FileViewCommands::markOutdated()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    MarkOutdated(*doc(), doc()->window().today);
    QGuiApplication::restoreOverrideCursor();
    m_view->refresh();
}

void FileViewCommands::sortLines(SortMode mode)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    doc()->SortLines(mode);
    QGuiApplication::restoreOverrideCursor();
    m_view->refresh();
}

void FileViewCommands::toggleMark()
{
    TimeString &line = doc()->lineTable()[static_cast<std::size_t>(m_view->currentRow())];
    line.marked = !line.marked;
    m_view->refresh();
}

void FileViewCommands::clearMarks()
{
    ClearMarks(*doc());
    m_view->refresh();
}

// Copies the row, then takes it out. The question runs the event loop, so the row must
// still hold the text it had before it.
void FileViewCommands::deleteRow()
{
    const int row = m_view->currentRow();
    const std::string text = doc()->lines()[static_cast<std::size_t>(row)].text;
    if (m_frame.app().settings().prompt
        && !prompter().okCancel(caption(), QStringLiteral("Delete entry?")))
        return;
    TApptDocument *d = doc();
    if (d == nullptr || static_cast<std::size_t>(row) >= d->lines().size()
        || d->lines()[static_cast<std::size_t>(row)].text != text) {
        m_services.beeper->beep();
        return;
    }
    m_services.clipboard->put(text);
    d->RemoveLine(row);
    m_view->refresh();
}

void FileViewCommands::copyRow()
{
    const std::string &text = doc()->lines()[static_cast<std::size_t>(m_view->currentRow())].text;
    if (!m_services.clipboard->put(text))
        m_services.beeper->beep();
}

void FileViewCommands::pasteRow()
{
    std::optional<std::string> text = m_services.clipboard->text();
    if (!text)
        return;
    text->resize(std::min(text->size(), text->find('\0')));
    const int row = doc()->lines().empty() ? 0 : m_view->currentRow();
    doc()->InsertLine(row, *text);
    m_view->refresh();
}

QWidget *makeFileView(TDVDecoratedMDIFrame &frame, TApptDocument &doc,
                      const FeatureServices &services)
{
    DVDocManager &docs = frame.documents();
    ViewHost host;
    host.runCommand = [&frame](int command) { frame.runCommand(command); };
    host.commandEnabled = [&frame](int command) { return frame.commands().canRun(command); };
    host.showHelp = [&frame](int topic) { frame.app().help().showTopic(topic); };
    auto *view
        = new TFileView(*docs.signalsOf(doc), frame.app().fonts()[BodyFont].font, std::move(host));
    FileViewCommands::addTo(frame, services, *view);
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, view,
                     [&frame, view] { view->setBodyFont(frame.app().fonts()[BodyFont].font); });
    // A rebuild from elsewhere (Rescan, a new day) may change the line count.
    QObject::connect(&docs, &DVDocManager::documentsRefreshed, view, &TFileView::refresh);
    return view;
}

} // namespace

TFileView *fileViewOf(TDVDecoratedMDIFrame &frame, const TApptDocument &doc)
{
    dvwMDIChild *window = frame.documents().viewWindow(doc, FileViewSlot);
    return window ? qobject_cast<TFileView *>(window->widget()) : nullptr;
}

void InstallFileView(TDVDecoratedMDIFrame &frame, const FeatureServices &services)
{
    frame.documents().setViewFactory(FileViewSlot, [&frame, services](TApptDocument &doc) {
        return makeFileView(frame, doc, services);
    });
    DVDocManager &docs = frame.documents();
    frame.commands().add(
        Cm::ViewFile, [&frame, &docs] { toggleFileView(frame, *docs.current()); },
        [&docs] { return docs.current() && docs.canMakeView(FileViewSlot); });
}

} // namespace dvw
