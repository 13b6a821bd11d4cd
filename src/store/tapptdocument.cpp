#include "tapptdocument.h"

#include "core/apptinfo.h"
#include "core/datetext.h"
#include "core/linereader.h"
#include "filerules.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace dvw {

namespace {

int weekdayModulo7(int day)
{
    return ((day % 7) + 7) % 7;
}

SaveResult refusedSave(std::string reason)
{
    SaveResult result;
    result.reason = std::move(reason);
    return result;
}

} // namespace

TApptDocument::TApptDocument(const DocumentSettings &settings, std::string path)
    : m_path(std::move(path))
    , m_dateSettings(settings.dateText)
    , m_window(DateWindow::make(settings.today, settings.start, settings.days))
    , m_unimportantDay(weekdayModulo7(settings.unimportant))
    , m_nagInterval(settings.nag)
    , m_showAll(settings.allCategories)
    , m_showDefault(!settings.allCategories)
    , m_engine(*this)
{
    updateEngineSettings();
}

TApptDocument::~TApptDocument()
{
    const std::vector<DocumentListener *> listeners = std::move(m_listeners);
    for (DocumentListener *listener : listeners)
        listener->documentClosed();
}

void TApptDocument::updateEngineSettings()
{
    EngineSettings e;
    e.window = m_window;
    e.screening = m_filters.screening;
    e.screenText = m_filters.screenText;
    e.priorityLevel = m_filters.priorityLevel;
    e.hideUnprioritized = m_filters.hideUnprioritized;
    e.nagInterval = m_nagInterval;
    e.unimportantDay = m_unimportantDay;
    m_engine.setSettings(e);
}

void TApptDocument::setWindow(const DateWindow &window)
{
    m_window = window;
    updateEngineSettings();
    m_needsRebuild = true;
}

void TApptDocument::setNagAndUnimportant(int nagDays, int unimportant)
{
    m_nagInterval = nagDays;
    m_unimportantDay = weekdayModulo7(unimportant);
    updateEngineSettings();
    m_needsRebuild = true;
}

void TApptDocument::setViewFilters(const ViewFilters &filters)
{
    m_filters = filters;
    updateEngineSettings();
    m_needsRebuild = true;
}

std::string_view TApptDocument::categoryDescription(int position) const
{
    return m_categories.description(position, m_lines);
}

bool TApptDocument::IsShown(std::uint32_t code) const
{
    return m_categories.isShown(code, m_showAll, m_showDefault);
}

int TApptDocument::FindCategory(std::uint32_t code) const
{
    return m_categories.find(code);
}

bool TApptDocument::categoryColour(std::uint32_t code, std::uint8_t &colour) const
{
    return m_categories.colourOf(code, colour);
}

LoadLinesResult TApptDocument::LoadLines(FileOps &ops)
{
    clearTables();
    m_identity.reset();
    m_unreadable = false;
    LoadLinesResult result;
    result.ok = true;
    if (!m_path.empty()) {
        LoadResult file = LoadFile(m_path, ops);
        if (file.status == LoadResult::Missing) {
            startNewFile();
            result.startedNew = true;
        } else if (file.status == LoadResult::Failed) {
            m_unreadable = true;
            m_unreadableReason = file.reason;
            result.ok = false;
            result.reason = file.reason;
        } else {
            m_lines.reserve(MaxFileTexts(file.bytes));
            ForEachFileText(file.bytes,
                            [this](std::string &&text) { m_lines.emplace_back(std::move(text)); });
            m_identity = file.identity;
        }
    }
    rebuildDerived(0);
    return result;
}

ReloadResult TApptDocument::Reload(FileOps &ops)
{
    ReloadResult result;
    LoadResult file = LoadFile(m_path, ops);
    if (file.status != LoadResult::Loaded) {
        result.status
            = file.status == LoadResult::Missing ? ReloadResult::Missing : ReloadResult::Failed;
        result.reason = std::move(file.reason);
        return result;
    }
    std::vector<TimeString> lines;
    lines.reserve(MaxFileTexts(file.bytes));
    ForEachFileText(file.bytes,
                    [&lines](std::string &&text) { lines.emplace_back(std::move(text)); });
    m_identity = file.identity;
    m_unreadable = false;
    const bool same
        = std::equal(lines.begin(), lines.end(), m_lines.begin(), m_lines.end(),
                     [](const TimeString &a, const TimeString &b) { return a.text == b.text; });
    if (same && !m_changed) {
        result.status = ReloadResult::Same;
        return result;
    }
    m_lines = std::move(lines);
    m_changed = false;
    rebuildDerived(0);
    result.status = ReloadResult::Reloaded;
    return result;
}

void TApptDocument::startNewFile()
{
    m_lines.emplace_back(FormatDate(m_window.today, m_dateSettings) + " New appointments file "
                         + m_path + " started.");
    m_lines.emplace_back("* Please see Help or press F1 for instructions.");
    m_changed = true;
}

SaveResult TApptDocument::WriteLines(bool force)
{
    return WriteLines(force, SystemFileOps());
}

std::string TApptDocument::FileBytes() const
{
    std::vector<std::string> texts;
    texts.reserve(m_lines.size());
    for (const TimeString &line : m_lines)
        texts.push_back(line.text);
    return JoinFileText(texts);
}

SaveResult TApptDocument::WriteLines(bool force, FileOps &ops, const SaveLock *lock)
{
    if (m_path.empty())
        return refusedSave("the document has no file name");
    if (m_unreadable)
        return refusedSave(m_unreadableReason + "; it could not be read, so it is not overwritten");
    SaveResult result = SaveFileAtomically(m_path, FileBytes(), m_identity, force, ops, lock);
    // The identity comes back whenever the new version is in place, even when a later
    // step failed, so that the next save does not take our own file for another's.
    if (result.identity)
        m_identity = result.identity;
    else if (result.unchangedIdentity)
        m_identity = result.unchangedIdentity;
    if (result.ok)
        m_changed = false;
    return result;
}

void TApptDocument::setPath(std::string path)
{
    m_path = std::move(path);
    m_identity.reset();
    m_unreadable = false;
}

SaveResult TApptDocument::SaveAs(const std::string &path)
{
    std::string oldPath = m_path;
    std::optional<FileIdentity> oldIdentity = m_identity;
    const bool oldUnreadable = m_unreadable;
    setPath(path);
    SaveResult result = WriteLines(true);
    // Only a save that put nothing in place leaves the document where it was.
    if (!result.ok && !result.identity) {
        m_path = std::move(oldPath);
        m_identity = std::move(oldIdentity);
        m_unreadable = oldUnreadable;
    }
    return result;
}

void TApptDocument::clearTables()
{
    m_lines.clear();
    m_categories.clear();
}

void TApptDocument::Close()
{
    clearTables();
    // With no lines left, a rebuild empties the cells, the notes list and the index.
    m_engine.BuildInstances();
    m_engine.BuildIndex(0);
}

void TApptDocument::Rescan()
{
    rebuildDerived(0);
}

void TApptDocument::readLine(int line)
{
    ApptInfo info(line);
    ReadAppt(info, *this, m_lines[static_cast<std::size_t>(line)]);
}

void TApptDocument::AppendLine(const std::string &text)
{
    // app: make this the current document and ask the alarm clock to re-check at its next
    // tick.
    const auto line = static_cast<int>(m_lines.size());
    m_lines.emplace_back(NormaliseInsertedText(text));
    m_changed = true;
    readLine(line);
    if (m_lines.back().kind == CategoryLine) {
        // The new category can show or hide other lines: the cells wait for a rebuild, and
        // no one-line patch may build on them meanwhile.
        ScanCategories();
        m_needsRebuild = true;
        return;
    }
    expandAppended(line);
}

int TApptDocument::ReplaceLine(int line, const std::string &text)
{
    assert(line >= 0 && static_cast<std::size_t>(line) < m_lines.size());
    m_lines[static_cast<std::size_t>(line)]
        = TimeString(text.empty() ? std::string("~") : NormaliseInsertedText(text));
    m_changed = true;
    readLine(line);
    rebuildDerived(line);
    const int position = m_engine.locatedPosition();
    notifySelectPosition(position);
    return position;
}

void TApptDocument::InsertLine(int at, const std::string &text)
{
    assert(at >= 0 && static_cast<std::size_t>(at) <= m_lines.size());
    m_lines.emplace(m_lines.begin() + at, NormaliseInsertedText(text));
    m_changed = true;
    insertDerived(at);
}

void TApptDocument::RemoveLine(int line)
{
    assert(line >= 0 && static_cast<std::size_t>(line) < m_lines.size());
    const std::string text = std::move(m_lines[static_cast<std::size_t>(line)].text);
    m_lines.erase(m_lines.begin() + line);
    m_changed = true;
    removeDerived(line, text, 0);
}

int TApptDocument::RemoveMarkedLines()
{
    const std::size_t before = m_lines.size();
    std::erase_if(m_lines, [](const TimeString &line) { return line.marked; });
    const auto removed = static_cast<int>(before - m_lines.size());
    if (removed > 0) {
        m_changed = true;
        rebuildDerived(0);
    }
    return removed;
}

void TApptDocument::AppendLines(const std::vector<std::string> &texts)
{
    if (texts.empty())
        return;
    m_lines.reserve(m_lines.size() + texts.size());
    for (const std::string &text : texts)
        m_lines.emplace_back(NormaliseInsertedText(text));
    m_changed = true;
    rebuildDerived(0);
}

int TApptDocument::ApplyChange(const LineChange &change, bool changed)
{
    assert(ChangeFits(m_lines, change));
    ApplyLineChange(m_lines, change);
    m_changed = changed;
    const int first = static_cast<int>(change.firstLine());
    const bool oneRun = change.runs.size() == 1;
    const std::size_t removed = oneRun ? change.runs[0].removed.size() : 0;
    const std::size_t inserted = oneRun ? change.runs[0].inserted.size() : 0;
    if (removed == 1 && inserted == 0)
        removeDerived(first, change.runs[0].removed[0], first);
    else if (removed == 0 && inserted == 1)
        insertDerived(first);
    else
        rebuildDerived(first);
    const int position = m_engine.locatedPosition();
    notifySelectPosition(position);
    return position;
}

bool TApptDocument::SortLines(SortMode mode)
{
    // The comparison reads the keys the reader derives, so every line is read afresh.
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        readLine(static_cast<int>(i));
    const auto before
        = [mode](const TimeString &a, const TimeString &b) { return LineBefore(a, b, mode); };
    // A stable sort of sorted lines moves none: the document stays as it was.
    if (std::is_sorted(m_lines.begin(), m_lines.end(), before))
        return false;
    std::stable_sort(m_lines.begin(), m_lines.end(), before);
    rebuildDerived(0);
    m_changed = true;
    return true;
}

void TApptDocument::ScanCategories()
{
    // app: make this the current document.
    m_categories.scan(m_lines);
}

bool TApptDocument::SetCategorySelected(int position, bool selected)
{
    CatStruct *cat = m_categories.at(position);
    // Tables older than the lines must not rewrite a line that no longer defines them.
    if (cat == nullptr || cat->line >= m_lines.size()
        || DefinitionCode(m_lines[cat->line].text) != cat->packedCode)
        return false;
    cat->selected = selected ? 1 : 0;
    const int inserted = SetDefinitionMarker(m_lines[cat->line].text, selected);
    cat->descriptionPos += static_cast<std::uint32_t>(inserted);
    m_changed = true;
    return true;
}

void TApptDocument::addListener(DocumentListener *listener)
{
    if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void TApptDocument::removeListener(DocumentListener *listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener),
                      m_listeners.end());
}

void TApptDocument::rebuildDerived(int lineToLocate)
{
    ScanCategories();
    m_engine.BuildInstances();
    m_engine.BuildIndex(lineToLocate);
    m_needsRebuild = false;
}

void TApptDocument::removeDerived(int line, const std::string &text, int lineToLocate)
{
    if (m_needsRebuild || IsDefinitionText(text)) {
        rebuildDerived(lineToLocate);
        return;
    }
    m_categories.lineRemoved(static_cast<std::uint32_t>(line));
    m_engine.removeLine(line);
    m_engine.BuildIndex(lineToLocate);
}

void TApptDocument::insertDerived(int line)
{
    if (m_needsRebuild || IsDefinitionText(m_lines[static_cast<std::size_t>(line)].text)) {
        rebuildDerived(line);
        return;
    }
    m_categories.lineInserted(static_cast<std::uint32_t>(line));
    m_engine.insertLine(line);
    m_engine.BuildIndex(line);
}

void TApptDocument::expandAppended(int line)
{
    const OccurrenceEngine::AppendOutcome outcome = m_engine.appendLine(line);
    if (outcome.hasGoToDate)
        notifyGoToDate(outcome.goToDate);
    notifySelectPosition(outcome.position);
}

void TApptDocument::notifyGoToDate(const TDate &date)
{
    broadcastGoToDate(date, nullptr);
}

void TApptDocument::notifySelectPosition(int position)
{
    broadcastSelectPosition(position, nullptr);
}

void TApptDocument::broadcastGoToDate(const TDate &date, const DocumentListener *sender)
{
    // A listener may add or remove listeners while it is told: tell a copy of the list,
    // skipping the ones that went meanwhile.
    const std::vector<DocumentListener *> listeners = m_listeners;
    for (DocumentListener *listener : listeners) {
        if (listener != sender
            && std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->goToDate(date);
    }
}

void TApptDocument::broadcastSelectPosition(int position, const DocumentListener *sender)
{
    const std::vector<DocumentListener *> listeners = m_listeners;
    for (DocumentListener *listener : listeners) {
        if (listener != sender
            && std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->selectPosition(position);
    }
}

void TApptDocument::broadcastCursorDate(const TDate &date, const DocumentListener *sender)
{
    m_lastCursorDate = date;
    m_cursorDatePending = true;
    broadcastGoToDate(date, sender);
}

} // namespace dvw
