#include "enginecommands.h"

#include "clioptions.h"
#include "clisettings.h"
#include "json.h"
#include "store/listwording.h"
#include "store/monthgrid.h"
#include "store/tapptdocument.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <ostream>
#include <string>

namespace dvw {

TDate systemDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return TDate(static_cast<std::uint32_t>(local.tm_mday),
                 static_cast<std::uint32_t>(local.tm_mon + 1),
                 static_cast<std::uint32_t>(local.tm_year + 1900));
}

namespace {

int usageError(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: " << problem << "\n";
    return 2;
}

} // namespace

EngineRun::EngineRun(const CliSettings &s, const DocumentSettings &d, std::string path)
    : settings(s)
    , document(d, std::move(path))
{ }

int prepare(const CliOptions &o, std::unique_ptr<EngineRun> &run, bool fileOptional,
            std::ostream &err)
{
    const CliSettings settings = loadCliSettings(o);
    std::string path;
    if (o.positional.size() == 1)
        path = o.positional[0];
    else if (o.positional.empty() && fileOptional)
        path = settings.apptFile;
    else if (o.positional.empty())
        return usageError(err, o.command + " needs a FILE");
    else
        return usageError(err, o.command + " takes one FILE");
    run = std::make_unique<EngineRun>(settings, documentSettings(o, settings), path);
    run->document.setViewFilters(viewFilters(o));
    const LoadLinesResult load = run->document.LoadLines();
    if (!load.ok) {
        err << "dayvane-cli: " << load.reason << "\n";
        return 1;
    }
    // Only the desktop program starts a new file; here a missing file is an error.
    if (load.startedNew) {
        err << "dayvane-cli: " << path << ": no such appointment file\n";
        return 1;
    }
    return 0;
}

namespace {

// Collects output in large pieces: an agenda of a big file runs to many megabytes.
class ChunkedOutput
{
public:
    explicit ChunkedOutput(std::ostream &out)
        : m_out(out)
        , m_buffer(new char[chunk])
    { }
    ~ChunkedOutput() { flush(); }
    ChunkedOutput(const ChunkedOutput &) = delete;
    ChunkedOutput &operator=(const ChunkedOutput &) = delete;

    void add(std::string_view text)
    {
        if (text.size() > chunk - m_used) {
            flush();
            if (text.size() > chunk) {
                m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, text.data(), text.size());
        m_used += text.size();
    }
    // One entry line: a two-character mark column, the text, a line end.
    void addLine(const char *mark, std::string_view text)
    {
        if (text.size() + 3 > chunk - m_used) {
            add(std::string_view(mark, 2));
            add(text);
            add("\n");
            return;
        }
        char *at = m_buffer.get() + m_used;
        at[0] = mark[0];
        at[1] = mark[1];
        std::memcpy(at + 2, text.data(), text.size());
        at[2 + text.size()] = '\n';
        m_used += text.size() + 3;
    }
    void flush()
    {
        m_out.write(m_buffer.get(), static_cast<std::streamsize>(m_used));
        m_used = 0;
    }

private:
    static constexpr std::size_t chunk = 1 << 20;
    std::ostream &m_out;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
};

std::string apptJson(const char *list, const Appt &a)
{
    return JsonObject()
               .addString("list", list)
               .addDate("date", a.date)
               .addInt("line", a.line)
               .addInt("done", a.done)
               .str()
        + "\n";
}

// One entry as the agenda prints it: the done mark column, then each line of its text
// (several only with MULTILINE), the later ones indented.
void addEntryText(ChunkedOutput &out, std::string_view text, const IndexTy &entry)
{
    out.add(entry.mark ? "x " : "  ");
    for (;;) {
        const std::size_t br = text.find("\r\n");
        out.add(text.substr(0, br));
        out.add("\n");
        if (br == std::string_view::npos)
            break;
        text.remove_prefix(br + 2);
        out.add("  ");
    }
}

// Each line's free text as the agenda shows it, found once per line and copied into one
// block: a day's entries visit the lines in no useful order, and a compact block keeps
// most of those visits in cache. A birthday keeps its whole text: its age goes in before
// the text is cut to the first line (ListEntryText does both).
class ShownTexts
{
public:
    ShownTexts(const std::vector<TimeString> &lines, bool multiline)
    {
        m_ends.reserve(lines.size() + 1);
        m_plain.reserve(lines.size());
        m_ends.push_back(0);
        for (const TimeString &line : lines) {
            const bool birthday = line.kind == Birthday;
            const std::string_view text
                = birthday ? EntryText(line) : ShownLines(EntryText(line), multiline);
            m_bytes.append(text);
            m_ends.push_back(m_bytes.size());
            m_plain.push_back(!birthday && text.find("\r\n") == std::string_view::npos);
        }
    }

    std::string_view text(std::size_t line) const
    {
        return std::string_view(m_bytes).substr(m_ends[line], m_ends[line + 1] - m_ends[line]);
    }
    // Whether the line's entry is its text on one output line, as it stands.
    bool plain(std::size_t line) const { return m_plain[line] != 0; }

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends; // line i is [m_ends[i], m_ends[i + 1])
    std::vector<std::uint8_t> m_plain;
};

} // namespace

DocumentSettings documentSettings(const CliOptions &o, const CliSettings &s)
{
    DocumentSettings d;
    d.dateText = s.dateText;
    d.allCategories = s.allCategories;
    d.unimportant = s.unimportant;
    d.today = o.today.value_or(systemDate());
    d.start = o.start.value_or(d.today);
    d.days = s.days;
    d.nag = s.nag;
    return d;
}

ViewFilters viewFilters(const CliOptions &o)
{
    ViewFilters f;
    if (o.screen) {
        f.screening = true;
        f.screenText = o.screen->substr(0, 79); // what the screen dialog takes
    }
    f.priorityLevel = o.priorityLevel.value_or(4);
    f.hideUnprioritized = o.hideUnprioritized;
    return f;
}

int runIndex(const CliOptions &options, std::ostream &out, std::ostream &err)
{
    std::unique_ptr<EngineRun> run;
    if (const int status = prepare(options, run, false, err))
        return status;
    ChunkedOutput output(out);
    for (const IndexTy &e : run->document.engine().index()) {
        output.add(JsonObject()
                       .addInt("kind", e.kind)
                       .addInt("value", e.value)
                       .addInt("month", e.month)
                       .addInt("day", e.day)
                       .addInt("mark", e.mark)
                       .addInt("colour", e.colour)
                       .addInt("age", e.age)
                       .str());
        output.add("\n");
    }
    return 0;
}

int runInstances(const CliOptions &options, std::ostream &out, std::ostream &err)
{
    std::unique_ptr<EngineRun> run;
    if (const int status = prepare(options, run, false, err))
        return status;
    const OccurrenceEngine &engine = run->document.engine();
    ChunkedOutput output(out);
    for (const Appt &a : engine.notes())
        output.add(apptJson("notes", a));
    for (int day = 1; day <= 31; ++day) {
        for (const Appt &a : engine.leadInCell(day))
            output.add(apptJson("lead-in", a));
    }
    const DateWindow &w = engine.window();
    for (std::uint32_t jd = w.start.dayNumber; jd <= w.end.dayNumber; ++jd) {
        const TDate date = TDate::fromDayNumber(jd);
        for (const Appt &a :
             engine.dayCell(static_cast<int>(date.Month()), static_cast<int>(date.DayOfMonth())))
            output.add(apptJson("day", a));
    }
    return 0;
}

int runAgenda(const CliOptions &options, std::ostream &out, std::ostream &err)
{
    std::unique_ptr<EngineRun> run;
    if (const int status = prepare(options, run, true, err))
        return status;
    const OccurrenceEngine &engine = run->document.engine();
    const auto &lines = run->document.lineTable();
    const bool european = run->settings.dateText.european;
    const bool multiline = run->settings.multiline;
    const ShownTexts shown(lines, multiline);
    ChunkedOutput output(out);
    for (const IndexTy &e : engine.index()) {
        switch (e.kind) {
        case NotesHeading:
            output.add("Notes\n");
            break;
        case CategoryHeading:
            output.add(run->document.categoryDescription(e.value));
            output.add("\n");
            break;
        case DateHeading:
            output.add(DateHeadingText(engine.window().start, e, european));
            output.add("\n");
            break;
        case DatedEntry:
        case NoteEntry: {
            const auto at = static_cast<std::size_t>(e.value);
            if (shown.plain(at))
                output.addLine(e.mark ? "x " : "  ", shown.text(at));
            else
                addEntryText(output, ListEntryText(lines[at], e, multiline), e);
            break;
        }
        default:
            output.add("\n");
            break;
        }
    }
    output.flush();
    // The process ends right after this command: handing the lines and cells back one by
    // one would only cost time.
    static_cast<void>(run.release());
    return 0;
}

namespace {

std::string monthDayJson(const GridDay &day)
{
    std::string entries = "[";
    for (const GridEntry &e : day.entries) {
        if (entries.size() > 1)
            entries += ',';
        entries += JsonObject()
                       .addInt("line", e.line)
                       .addString("text", e.text)
                       .addInt("colour", e.colour)
                       .addInt("done", e.done ? 1 : 0)
                       .str();
    }
    entries += ']';
    return JsonObject()
               .addInt("day", day.day)
               .addInt("weekday", day.weekday)
               .addBool("inWindow", day.inWindow)
               .addRaw("entries", entries)
               .str()
        + "\n";
}

// The month for people: a grid of day numbers, "*" beside a day with entries and "-"
// beside a day outside the window, then the entries day by day.
void drawMonth(const MonthGrid &grid, std::ostream &out)
{
    const MonthShape &s = grid.shape;
    const std::string title = std::string(MonthName(s.month)) + " " + std::to_string(s.year);
    out << std::string((35 - title.size()) / 2, ' ') << title << "\n";
    for (int w = 0; w < 7; ++w)
        out << "  " << ShortDayName(w == 0 ? 7 : w).substr(0, 3);
    out << "\n";
    std::string row(static_cast<std::size_t>(5 * s.firstWeekday), ' ');
    for (const GridDay &day : grid.days) {
        const char mark = !day.inWindow ? '-' : day.entries.empty() ? ' ' : '*';
        const std::string number = std::to_string(day.day);
        row += std::string(4 - number.size(), ' ') + number + mark;
        if (day.weekday == 6 || day.day == s.daysInMonth) {
            out << row.substr(0, row.find_last_not_of(' ') + 1) << "\n";
            row.clear();
        }
    }
    for (const GridDay &day : grid.days) {
        if (day.entries.empty())
            continue;
        out << "\n"
            << ShortDayName(day.weekday == 0 ? 7 : day.weekday).substr(0, 3) << " " << day.day
            << "\n";
        for (const GridEntry &e : day.entries)
            out << (e.done ? "  x " : "    ") << e.text << "\n";
    }
}

} // namespace

int runMonth(const CliOptions &options, std::ostream &out, std::ostream &err)
{
    if (!options.month)
        return usageError(err, "month needs --month YYYY-MM");
    std::unique_ptr<EngineRun> run;
    if (const int status = prepare(options, run, false, err))
        return status;
    MonthGridRequest request;
    request.year = options.month->first;
    request.month = options.month->second;
    request.today = run->document.engine().window().today;
    request.selected = request.today;
    const MonthGrid grid
        = BuildMonthGrid(run->document.engine(), run->document.lineTable(), request);
    if (options.text) {
        drawMonth(grid, out);
        return 0;
    }
    for (const GridDay &day : grid.days)
        out << monthDayJson(day);
    return 0;
}

} // namespace dvw
