#pragma once

#include "categorytables.h"
#include "core/readcontext.h"
#include "datewindow.h"
#include "documentlistener.h"
#include "documentsettings.h"
#include "enginesource.h"
#include "fileio.h"
#include "linechange.h"
#include "linesort.h"
#include "occurrenceengine.h"

#include <optional>
#include <string>
#include <vector>

namespace dvw {

// How loading a file went. A file that exists but cannot be read is never taken for a
// new one: the document stays empty and refuses to save over it.
struct LoadLinesResult
{
    bool ok = false;
    bool startedNew = false; // the file was missing: the document holds the seed lines
    std::string reason; // why the file could not be read, when !ok
};

// How reading the file again went. The lines change only when it was Reloaded.
struct ReloadResult
{
    enum Status {
        Reloaded, // the lines are the file's now
        Same, // the file holds the lines the document has: only its identity was taken
        Missing, // no file: the lines stay
        Failed, // the file could not be read: the lines stay
    };
    Status status = Failed;
    std::string reason; // when Failed
};

// One open appointment file: its lines in file order (continuations joined with CR LF)
// and everything derived from them. Views read the document and ask it to change lines;
// they never read the file.
class TApptDocument : public EngineSource, public ReadContext
{
public:
    // An empty path is an untitled document, which loads as empty.
    explicit TApptDocument(const DocumentSettings &settings, std::string path = {});
    // Tells the listeners that are left that the document is gone.
    ~TApptDocument() override;
    TApptDocument(const TApptDocument &) = delete;
    TApptDocument &operator=(const TApptDocument &) = delete;

    // EngineSource
    std::vector<TimeString> &lineTable() override { return m_lines; }
    const std::vector<TimeString> &lines() const { return m_lines; }
    ReadContext &readContext() override { return *this; }
    bool IsShown(std::uint32_t code) const override;
    int FindCategory(std::uint32_t code) const override;

    // ReadContext
    const DateTextSettings &dateSettings() const override { return m_dateSettings; }
    bool categoryColour(std::uint32_t code, std::uint8_t &colour) const override;

    // Reads the file into the line table (replacing what it held) and rebuilds.
    LoadLinesResult LoadLines(FileOps &ops = SystemFileOps());
    // Reads the file again after another program changed it. Unlike LoadLines, a missing or
    // unreadable file leaves the lines as they are; a file that holds the same lines only
    // gives its identity. A reload clears the changed mark and rebuilds.
    ReloadResult Reload(FileOps &ops = SystemFileOps());
    // Saves every line but the deleted ("~") ones, the previous version becoming the
    // backup. The changed mark is cleared only by a successful save. When the file changed
    // on disk since it was read, nothing is written unless force is set. `lock`, when the
    // caller took the file's save lock before loading, is used instead of taking it again.
    SaveResult WriteLines(bool force = false);
    SaveResult WriteLines(bool force, FileOps &ops, const SaveLock *lock = nullptr);
    // Saves under a new name, replacing what is there (the user agreed to that). On success
    // the document is that file from then on; on failure it keeps its old name.
    SaveResult SaveAs(const std::string &path);
    // The bytes a save writes: every line but the deleted ones.
    std::string FileBytes() const;
    bool IsOpen() const { return !m_lines.empty(); }
    // Empties the lines and everything derived from them.
    void Close();
    // Rebuilds everything from the lines in memory, without reading the file.
    void Rescan();
    // Adds one line at the end; the text is made safe for the file format first.
    void AppendLine(const std::string &text);
    // Gives a line a new text (made safe for the file format, as AppendLine does), marks
    // the document changed, rebuilds and tells the listeners where the line shows. An empty
    // text deletes the line: it becomes "~", which saving drops. The line's display
    // position, or -1 when it shows nowhere.
    int ReplaceLine(int line, const std::string &text);
    // The file view's changes of the table itself. Each marks the document changed and
    // brings everything derived from the lines up to date, so no table refers to a line
    // that moved (one line in or out is patched in, the tables equal to a rebuild).
    // A new line at this table position (0..line count), its text made safe as AppendLine
    // makes it.
    void InsertLine(int at, const std::string &text);
    // Takes the line out of the table (it is not kept as a deleted "~" line).
    void RemoveLine(int line);
    // Takes every marked line out of the table; how many went.
    int RemoveMarkedLines();
    // Adds these texts at the end, each made safe as AppendLine makes it.
    void AppendLines(const std::vector<std::string> &texts);
    // Applies a change recorded against these lines (see ChangeFits) and sets the changed
    // mark as given; rebuilds in full and tells the listeners where the first changed line
    // shows. That display position, or -1 when it shows nowhere.
    int ApplyChange(const LineChange &change, bool changed);
    // Sorts the whole line table, rebuilds and marks the document changed. False, changing
    // nothing, when the lines are in order already.
    bool SortLines(SortMode mode);
    void ScanCategories();

    // Selects or deselects the category at this table position by rewriting the marker of
    // its definition line, and marks the document changed. False, changing nothing, when
    // the position or its line no longer holds that category (the tables are stale).
    bool SetCategorySelected(int position, bool selected);
    const std::vector<CatStruct> &categories() const { return m_categories.categories(); }
    const std::vector<CatColorStruct> &categoryColours() const { return m_categories.colours(); }
    bool showsAllCategories() const { return m_showAll; }
    bool showsDefaultCategory() const { return m_showDefault; }
    void setShowAllCategories(bool on) { m_showAll = on; }
    void setShowDefaultCategory(bool on) { m_showDefault = on; }

    const DateWindow &window() const { return m_window; }
    // A new window or new view filters take effect at the next rebuild (Rescan, or the
    // application's BuildInstances and BuildIndex over every document).
    void setWindow(const DateWindow &window);
    void setViewFilters(const ViewFilters &filters);
    int unimportantDay() const { return m_unimportantDay; }
    // The nag interval and the unimportant day changed while the document is open: they take
    // effect at the next rebuild, as a new window does.
    void setNagAndUnimportant(int nagDays, int unimportant);
    // The instances, day cells, notes list and display index of the current window.
    const OccurrenceEngine &engine() const { return m_engine; }
    OccurrenceEngine &engine() { return m_engine; }
    // The description of the category at this table position, empty when there is none.
    std::string_view categoryDescription(int position) const;
    void setDateSettings(const DateTextSettings &settings) { m_dateSettings = settings; }

    const std::string &path() const { return m_path; }
    // Save As: the lines now belong to this path. The next save expects no file there, so
    // an existing one comes back as changed on disk and the caller can ask before forcing.
    void setPath(std::string path);
    bool isChanged() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }
    bool needsRebuild() const { return m_needsRebuild; }
    void setNeedsRebuild() { m_needsRebuild = true; }
    // The identity of the file as it was read, which a save checks before replacing it.
    const std::optional<FileIdentity> &fileIdentity() const { return m_identity; }

    // Listeners are not owned; remove one before it is destroyed.
    void addListener(DocumentListener *listener);
    void removeListener(DocumentListener *listener);
    // What one view tells the others: show this date, select this display position
    // (-1 when the index is empty). The sender is not told its own news.
    void broadcastGoToDate(const TDate &date, const DocumentListener *sender);
    void broadcastSelectPosition(int position, const DocumentListener *sender = nullptr);
    // The cursor date a view last broadcast, which a newly opened view picks up.
    void broadcastCursorDate(const TDate &date, const DocumentListener *sender);
    bool hasPendingCursorDate() const { return m_cursorDatePending; }
    const TDate &lastCursorDate() const { return m_lastCursorDate; }
    // Remembers a date for the next list without asking the open views to show it.
    void setLastCursorDate(const TDate &date) { m_lastCursorDate = date; }

private:
    void clearTables();
    void startNewFile();
    void readLine(int line);
    // Everything derived from the lines, locating this line (0: the first) in the index.
    void rebuildDerived(int lineToLocate);
    // Places the line just appended without a full rebuild.
    void expandAppended(int line);
    // After the line at `line` with this text was taken out of the table: takes it out of
    // the derived tables without a full rebuild where that gives the same tables (the
    // tables were current and the line defined no category), else rebuilds.
    void removeDerived(int line, const std::string &text, int lineToLocate);
    // After a line was put into the table at `line`: the same for the new line.
    void insertDerived(int line);
    void updateEngineSettings();
    void notifyGoToDate(const TDate &date);
    void notifySelectPosition(int position);

    std::string m_path;
    std::vector<TimeString> m_lines;
    DateTextSettings m_dateSettings;
    DateWindow m_window;
    int m_unimportantDay = 0; // 0 = Sunday ... 6 = Saturday
    int m_nagInterval = 7;
    ViewFilters m_filters;
    bool m_showAll = false;
    bool m_showDefault = true;
    CategoryTables m_categories;
    bool m_changed = false;
    bool m_needsRebuild = true;
    // Set when the file exists but could not be read: saving would destroy it.
    bool m_unreadable = false;
    std::string m_unreadableReason;
    std::optional<FileIdentity> m_identity;
    std::vector<DocumentListener *> m_listeners;
    TDate m_lastCursorDate;
    bool m_cursorDatePending = false;
    // Last: it refers to the members above through the document's EngineSource side.
    OccurrenceEngine m_engine;
};

} // namespace dvw
