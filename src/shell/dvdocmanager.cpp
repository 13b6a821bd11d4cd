#include "dvdocmanager.h"

#include "commands.h"
#include "documentsignals.h"
#include "dvwapp.h"
#include "dvwmdichild.h"
#include "dvwmdiclient.h"
#include "platform/displaytext.h"
#include "platform/filechooser.h"
#include "platform/prompter.h"
#include "settings/settingkeys.h"
#include "settings/settingslimits.h"
#include "store/keptplace.h"
#include "windowlayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <algorithm>

namespace dvw {

namespace {

std::string toPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A window title is shown as it is, except that Qt reads "[*]" as the changed mark.
QString literalTitle(QString title)
{
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString linesText(TApptDocument &doc)
{
    QStringList lines;
    for (const TimeString &line : doc.lineTable())
        lines << DisplayText(line.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

DVDocManager::DVDocManager(dvwApp &app, dvwMDIClient &client, FileChooser &files, QObject *parent)
    : QObject(parent)
    , m_app(app)
    , m_client(client)
    , m_files(files)
{
    connect(&m_app, &dvwApp::settingsChanged, this, &DVDocManager::settingChanged);
}

void DVDocManager::settingChanged(const QString &name)
{
    namespace k = settingkeys;
    const auto is = [&name](const char *key) { return name == QLatin1String(key); };
    const bool allCategories = is(k::ALLCATEGORIES);
    if (!is(k::EUROPEAN) && !is(k::MILITARY) && !is(k::CENTURYBREAK) && !is(k::DAYS) && !is(k::NAG)
        && !is(k::UNIMPORTANT) && !allCategories)
        return;
    if (is(k::DAYS)) {
        const DateWindow &now = m_app.dateWindow();
        m_app.setDateWindow(
            DateWindow::make(now.today, now.start, usableDays(m_app.settings().days)));
    }
    const DocumentSettings s = m_app.documentSettings();
    for (Entry &e : m_entries) {
        e.doc->setDateSettings(s.dateText);
        e.doc->setNagAndUnimportant(s.nag, s.unimportant);
        // A new default replaces each document's own choice; other changes keep it.
        if (allCategories) {
            e.doc->setShowAllCategories(s.allCategories);
            e.doc->setShowDefaultCategory(!s.allCategories);
        }
    }
    refreshAll();
}

DVDocManager::~DVDocManager()
{
    // The windows may outlive this manager by a moment; they must not call back.
    for (Entry &e : m_entries) {
        for (const auto &window : e.windows) {
            if (window)
                window->disconnect(this);
        }
    }
}

QString DVDocManager::filter()
{
    return QStringLiteral("Appointment Files (*.APT)");
}

QString DVDocManager::changedPrompt()
{
    return QStringLiteral("The document has been changed.\n\nDo you want to save the changes?");
}

bool DVDocManager::MatchesTemplate(const QString &path)
{
    return QFileInfo(path).fileName().endsWith(QStringLiteral(".APT"), Qt::CaseInsensitive);
}

TApptDocument *DVDocManager::document(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_entries[static_cast<std::size_t>(index)].doc.get();
}

TApptDocument *DVDocManager::current() const
{
    const QMdiSubWindow *active = m_client.currentSubWindow();
    for (const Entry &e : m_entries) {
        for (const auto &window : e.windows) {
            if (active && window == active)
                return e.doc.get();
        }
    }
    return m_entries.empty() ? nullptr : m_entries.back().doc.get();
}

QWidget *DVDocManager::currentView() const
{
    const QMdiSubWindow *active = m_client.currentSubWindow();
    for (const Entry &e : m_entries) {
        for (const auto &window : e.windows) {
            if (active && window == active)
                return window->widget();
        }
    }
    const TApptDocument *doc = current();
    const dvwMDIChild *first = doc ? windowOf(*doc) : nullptr;
    return first ? first->widget() : nullptr;
}

dvwMDIChild *DVDocManager::windowOf(const TApptDocument &doc) const
{
    for (const Entry &e : m_entries) {
        if (e.doc.get() != &doc)
            continue;
        for (const auto &window : e.windows) {
            if (window)
                return window;
        }
    }
    return nullptr;
}

DocumentSignals *DVDocManager::signalsOf(const TApptDocument &doc) const
{
    for (const Entry &e : m_entries) {
        if (e.doc.get() == &doc)
            return e.events.get();
    }
    return nullptr;
}

dvwMDIChild *DVDocManager::viewWindow(const TApptDocument &doc, ViewSlot slot) const
{
    for (const Entry &e : m_entries) {
        if (e.doc.get() == &doc)
            return e.views[slot];
    }
    return nullptr;
}

void DVDocManager::setMonthSize(int width, int height)
{
    m_monthWidth = width;
    m_monthHeight = height;
}

DVDocManager::Entry *DVDocManager::entryOf(const TApptDocument &doc)
{
    for (Entry &e : m_entries) {
        if (e.doc.get() == &doc)
            return &e;
    }
    return nullptr;
}

DocumentSettings DVDocManager::documentSettings() const
{
    return m_app.documentSettings();
}

QString DVDocManager::titleOf(const TApptDocument &doc)
{
    // However the file was named (typed, chosen, dropped), the caption is its name alone.
    if (doc.path().empty())
        return tr("Untitled");
    return QFileInfo(fromPath(doc.path())).fileName();
}

QString DVDocManager::pathOf(const TApptDocument &doc)
{
    if (doc.path().empty())
        return tr("Untitled");
    return QDir::toNativeSeparators(QFileInfo(fromPath(doc.path())).absoluteFilePath());
}

void DVDocManager::newDocument()
{
    auto doc = std::make_unique<TApptDocument>(documentSettings());
    doc->setViewFilters(m_app.filters());
    doc->LoadLines();
    addDocument(std::move(doc));
}

void DVDocManager::open()
{
    const QString path = m_files.openFile(tr("Open"), filter());
    if (!path.isEmpty())
        openPath(path);
}

bool DVDocManager::openPath(const QString &path)
{
    const std::string file = toPath(path);
    for (Entry &e : m_entries) {
        if (!e.doc->path().empty() && e.doc->path() == file) {
            if (dvwMDIChild *window = windowOf(*e.doc))
                m_client.setActiveSubWindow(window);
            return true;
        }
    }
    auto doc = std::make_unique<TApptDocument>(documentSettings(), file);
    doc->setViewFilters(m_app.filters());
    const LoadLinesResult loaded = doc->LoadLines();
    if (!loaded.ok) {
        tellFailure(*doc, tr("The file could not be opened."), loaded.reason);
        return false;
    }
    addDocument(std::move(doc));
    return true;
}

void DVDocManager::addDocument(std::unique_ptr<TApptDocument> doc)
{
    Entry entry;
    entry.events = std::make_unique<DocumentSignals>(*doc);
    const TApptDocument *raw = doc.get();
    connect(entry.events.get(), &DocumentSignals::positionSelected, this,
            [this, raw](int position, const QObject *) {
                if (Entry *e = entryOf(*raw))
                    e->lastPosition = position;
            });
    entry.doc = std::move(doc);
    m_entries.push_back(std::move(entry));
    Entry &added = m_entries.back();
    closePanesOfOthers(added);
    if (canMakeView(ListViewSlot)) {
        openView(*added.doc, ListViewSlot);
    } else {
        added.lines = new QPlainTextEdit;
        added.lines->setObjectName(QStringLiteral("documentLines"));
        added.lines->setReadOnly(true);
        added.lines->setLineWrapMode(QPlainTextEdit::NoWrap);
        addWindow(added, added.lines, NewViewRect(m_client.viewport()->size(), m_monthWidth));
    }
    emit documentsChanged();
    // The only document shows the appointment under the cursor beside its list.
    if (count() == 1)
        emit clientCommand(Cm::ShowCurrentPane);
}

dvwMDIChild *DVDocManager::addView(TApptDocument &doc, ViewSlot slot, QWidget *view)
{
    Entry *e = entryOf(doc);
    if (e == nullptr || e->views[slot]) {
        delete view;
        return e ? e->views[slot].data() : nullptr;
    }
    const bool pane = slot == MonthPaneSlot || slot == CurrentPaneSlot;
    const QString name = view->windowTitle();
    dvwMDIChild *window = addWindow(*e, view, placeOf(slot));
    e->views[slot] = window;
    // The panes are captioned by their view name alone.
    if (pane)
        window->setWindowTitle(literalTitle(name));
    return window;
}

QRect DVDocManager::placeOf(ViewSlot slot) const
{
    const QSize client = m_client.viewport()->size();
    const FixedLayout fixed = FixedLayoutFor(client, m_monthWidth, m_monthHeight);
    switch (slot) {
    case MonthPaneSlot:
        return fixed.month;
    case CurrentPaneSlot:
        return fixed.current;
    default:
        return NewViewRect(client, m_monthWidth);
    }
}

void DVDocManager::setViewFactory(ViewSlot slot, ViewFactory factory)
{
    m_factories[slot] = std::move(factory);
}

bool DVDocManager::canMakeView(ViewSlot slot) const
{
    return static_cast<bool>(m_factories[slot]);
}

dvwMDIChild *DVDocManager::openView(TApptDocument &doc, ViewSlot slot)
{
    Entry *e = entryOf(doc);
    if (e == nullptr || !m_factories[slot])
        return nullptr;
    if (e->views[slot])
        return e->views[slot];
    QWidget *view = m_factories[slot](doc);
    dvwMDIChild *window = view ? addView(doc, slot, view) : nullptr;
    // The list keeps the keyboard while the panes open beside it.
    if (dvwMDIChild *list = e->views[ListViewSlot]; list && window && slot != ListViewSlot)
        m_client.setActiveSubWindow(list);
    return window;
}

void DVDocManager::closeView(TApptDocument &doc, ViewSlot slot)
{
    if (Entry *e = entryOf(doc); e && e->views[slot])
        e->views[slot]->close();
}

void DVDocManager::refreshAll()
{
    for (Entry &e : m_entries) {
        e.doc->setWindow(m_app.dateWindow());
        e.doc->setViewFilters(m_app.filters());
        e.doc->Rescan();
        refresh(e);
    }
    emit documentsRefreshed();
}

dvwMDIChild *DVDocManager::addWindow(Entry &entry, QWidget *content, const QRect &place)
{
    const TApptDocument *raw = entry.doc.get();
    auto *window = new dvwMDIChild(content, [this, raw] { return mayCloseWindow(raw); });
    window->setObjectName(QStringLiteral("documentWindow"));
    connect(window, &dvwMDIChild::closing, this,
            [this, raw, window] { windowClosed(raw, window); });
    entry.windows.emplace_back(window);
    refresh(entry);

    m_client.addSubWindow(window);
    window->setGeometry(place);
    window->show();
    if (count() > 1)
        m_client.tileSubWindows();
    m_client.setActiveSubWindow(window);
    return window;
}

void DVDocManager::closePanesOfOthers(const Entry &opened)
{
    std::vector<QPointer<dvwMDIChild>> panes;
    for (const Entry &e : m_entries) {
        if (&e == &opened)
            continue;
        // A pane that is all the document shows stays: closing it would close the document.
        auto others = std::count_if(e.windows.begin(), e.windows.end(),
                                    [](const auto &w) { return !w.isNull(); });
        for (ViewSlot slot : {MonthPaneSlot, CurrentPaneSlot}) {
            if (e.views[slot] && others-- > 1)
                panes.emplace_back(e.views[slot]);
        }
    }
    // Closing a window changes the entries' window lists: close from a copy.
    for (const auto &pane : panes) {
        if (pane)
            pane->close();
    }
}

void DVDocManager::refresh(Entry &entry)
{
    retitle(entry);
    if (entry.lines)
        entry.lines->setPlainText(linesText(*entry.doc));
}

void DVDocManager::updateTitles()
{
    for (Entry &e : m_entries)
        retitle(e);
}

void DVDocManager::retitle(Entry &entry)
{
    // "[*]" is where the window shows the changed mark.
    const QString title = literalTitle(titleOf(*entry.doc)) + QStringLiteral("[*]");
    const QString path = pathOf(*entry.doc);
    const bool changed = entry.doc->isChanged();
    for (const auto &window : entry.windows) {
        if (!window)
            continue;
        window->setStatusTip(path);
        window->setWindowModified(changed);
        // The panes are captioned by their view name alone; a view that names itself is
        // captioned "view, document".
        if (window == entry.views[MonthPaneSlot] || window == entry.views[CurrentPaneSlot])
            continue;
        const QWidget *view = window->widget();
        const QString name = view ? view->windowTitle() : QString();
        window->setWindowTitle(name.isEmpty() ? title
                                              : literalTitle(name) + QStringLiteral(", ") + title);
    }
}

bool DVDocManager::mayCloseWindow(const TApptDocument *doc)
{
    Entry *e = entryOf(*doc);
    if (e == nullptr || e->closing)
        return true;
    const auto open = std::count_if(e->windows.begin(), e->windows.end(),
                                    [](const auto &w) { return !w.isNull(); });
    return open > 1 || mayClose(*e->doc);
}

void DVDocManager::windowClosed(const TApptDocument *doc, const dvwMDIChild *window)
{
    Entry *e = entryOf(*doc);
    if (e == nullptr)
        return;
    std::erase_if(e->windows, [window](const auto &w) { return w.isNull() || w == window; });
    for (auto &view : e->views) {
        if (view == window)
            view.clear();
    }
    if (e->windows.empty())
        forget(doc);
}

void DVDocManager::forget(const TApptDocument *doc)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [doc](const Entry &e) { return e.doc.get() == doc; });
    if (it == m_entries.end())
        return;
    it->doc->Close();
    m_entries.erase(it);
    emit documentsChanged();
    if (m_entries.size() == 1 && m_entries.front().views[ListViewSlot]) {
        emit clientCommand(Cm::ShowMonthPane);
        emit clientCommand(Cm::ShowCurrentPane);
        // The list leaves the tiled place it had beside the other document.
        layOutFixed();
    }
}

bool DVDocManager::layOutFixed()
{
    if (m_entries.size() != 1)
        return false;
    const Entry &e = m_entries.front();
    const std::array<std::pair<ViewSlot, QRect FixedLayout::*>, 3> fixed
        = {{{ListViewSlot, &FixedLayout::list},
            {MonthPaneSlot, &FixedLayout::month},
            {CurrentPaneSlot, &FixedLayout::current}}};
    // The list with a pane beside it; a file or calendar view is arranged by the user.
    const bool withPane = e.views[MonthPaneSlot] || e.views[CurrentPaneSlot];
    if (!e.views[ListViewSlot] || !withPane || e.views[FileViewSlot] || e.views[CalendarViewSlot])
        return false;
    const FixedLayout layout
        = FixedLayoutFor(m_client.viewport()->size(), m_monthWidth, m_monthHeight);
    for (const auto &[slot, place] : fixed) {
        dvwMDIChild *window = e.views[slot];
        if (window == nullptr)
            continue;
        // A maximised or minimised window is where the user put it.
        if (window->isMaximized() || window->isMinimized())
            continue;
        // setGeometry leaves the windows' stacking order as it is.
        window->setGeometry(layout.*place);
    }
    return true;
}

bool DVDocManager::mayClose(TApptDocument &doc)
{
    if (!doc.isChanged())
        return true;
    switch (m_app.prompter().yesNo(titleOf(doc), changedPrompt(), true)) {
    case Prompter::Answer::Yes:
        return save(doc);
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

bool DVDocManager::close(TApptDocument &doc)
{
    Entry *e = entryOf(doc);
    if (e == nullptr)
        return true;
    if (!mayClose(doc))
        return false;
    e->closing = true;
    // Closing the last window forgets the document: work on a copy of the list.
    const std::vector<QPointer<dvwMDIChild>> windows = e->windows;
    for (const auto &window : windows) {
        if (window)
            window->close();
    }
    return true;
}

bool DVDocManager::closeAll()
{
    while (!m_entries.empty()) {
        if (!close(*m_entries.back().doc))
            return false;
    }
    return true;
}

bool DVDocManager::save(TApptDocument &doc)
{
    if (doc.path().empty())
        return saveAs(doc);
    SaveResult result = doc.WriteLines(false);
    if (!result.ok && result.changedOnDisk) {
        const QString question
            = tr("%1 was changed by another program since it was read.\n\n"
                 "Save this version over it? The other version is kept as the backup file.")
                  .arg(pathOf(doc));
        if (m_app.prompter().yesNo(titleOf(doc), question) != Prompter::Answer::Yes)
            return false;
        result = doc.WriteLines(true);
    }
    if (Entry *e = entryOf(doc))
        retitle(*e);
    if (!result.ok && result.readOnly) {
        const QString question = tr("%1 is read-only, so it was not saved.\n\n"
                                    "Save it under another name?")
                                     .arg(pathOf(doc));
        if (m_app.prompter().yesNo(titleOf(doc), question) != Prompter::Answer::Yes)
            return false;
        return saveAs(doc);
    }
    if (!reportSave(doc, result))
        return false;
    emit documentSaved(&doc);
    return true;
}

bool DVDocManager::saveAs(TApptDocument &doc)
{
    const QString suggested = doc.path().empty() ? QString() : fromPath(doc.path());
    const QString path
        = m_files.saveFile(tr("Save As"), filter(), suggested, QStringLiteral("APT"));
    if (path.isEmpty())
        return false;
    const SaveResult result = doc.SaveAs(toPath(path));
    if (Entry *e = entryOf(doc))
        refresh(*e);
    if (!reportSave(doc, result))
        return false;
    emit documentSaved(&doc);
    return true;
}

bool DVDocManager::reportSave(const TApptDocument &doc, const SaveResult &result)
{
    if (!result.ok) {
        tellFailure(doc, tr("The document could not be saved."), result.reason);
        return false;
    }
    if (!result.warning.empty())
        m_app.prompter().info(QString(),
                              tr("The document was saved, but:") + QStringLiteral("\n\n")
                                  + fromPath(result.warning),
                              Prompter::Icon::Warning);
    return true;
}

void DVDocManager::rescan(TApptDocument &doc)
{
    doc.Rescan();
    if (Entry *e = entryOf(doc))
        refresh(*e);
    emit documentsRefreshed();
}

ReloadResult DVDocManager::reload(TApptDocument &doc)
{
    Entry *e = entryOf(doc);
    const std::optional<KeptPlace> place = e ? PlaceAt(doc, e->lastPosition) : std::nullopt;
    const TDate cursorDate = doc.hasPendingCursorDate() ? doc.lastCursorDate() : doc.window().start;
    const ReloadResult result = doc.Reload();
    if (result.status != ReloadResult::Reloaded)
        return result;
    emit documentReloaded(&doc);
    updateTitles();
    emit documentsRefreshed();
    const int position = place ? PositionOf(doc, *place) : -1;
    if (position >= 0)
        doc.broadcastSelectPosition(position);
    else
        doc.broadcastGoToDate(cursorDate, nullptr);
    return result;
}

void DVDocManager::tellFailure(const TApptDocument &doc, const QString &what,
                               const std::string &reason)
{
    QString text = what;
    if (!reason.empty())
        text += QStringLiteral("\n\n") + fromPath(reason);
    else
        text += QStringLiteral("\n\n") + pathOf(doc);
    m_app.prompter().info(QString(), text, Prompter::Icon::Stop);
}

} // namespace dvw
