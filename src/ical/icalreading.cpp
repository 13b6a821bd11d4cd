#include "icalreading.h"

#include "core/textcursor.h"
#include "icalexport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace dvw {

namespace {

// Hands libical the file one physical line at a time (as fgets would) and counts the
// lines it has started on: libical reads one line ahead to join folded lines.
struct Feed
{
    std::string_view text;
    std::size_t pos = 0;
    int started = 0; // physical lines handed over, the one read ahead included
    bool ended = false; // libical was told the text ended during the last call
};

char *feedLine(char *buffer, std::size_t size, void *data)
{
    auto *feed = static_cast<Feed *>(data);
    if (feed->pos >= feed->text.size() || size < 2) {
        feed->ended = true;
        return nullptr;
    }
    if (feed->pos == 0 || feed->text[feed->pos - 1] == '\n')
        ++feed->started;
    const std::string_view rest = feed->text.substr(feed->pos, size - 1);
    const std::size_t newline = rest.find('\n');
    const std::size_t n = newline == std::string_view::npos ? rest.size() : newline + 1;
    std::memcpy(buffer, rest.data(), n);
    buffer[n] = '\0';
    feed->pos += n;
    return buffer;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return toUpperAscii(x) == toUpperAscii(y);
           });
}

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), toUpperAscii);
    return out;
}

// The name of a content line, before its parameters and value.
std::string_view nameOf(std::string_view line)
{
    std::size_t end = 0;
    while (end < line.size() && line[end] != ';' && line[end] != ':')
        ++end;
    return line.substr(0, end);
}

std::string_view valueOf(std::string_view line)
{
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
}

// Properties whose values an import turns into dates, rules or lines: when libical cannot
// read one, the calendar is not read rather than read wrong.
bool reliedOn(std::string_view name)
{
    static const char *const names[]
        = {"DTSTART", "DTEND",         "DURATION", "RRULE",      "RDATE",
           "EXDATE",  "RECURRENCE-ID", "TRIGGER",  lineProperty, lineNumberProperty};
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char *n) { return sameName(name, n); });
}

std::string shown(std::string_view text)
{
    constexpr std::size_t most = 60;
    return text.size() <= most ? std::string(text) : std::string(text.substr(0, most)) + "...";
}

std::string atLine(int line, const std::string &what)
{
    return "line " + std::to_string(line) + ": " + what;
}

class Reader
{
public:
    Reader(CalendarItemSink &sink, icalparser *parser, icalcomponent *zones)
        : m_sink(sink)
        , m_parser(parser)
        , m_zones(zones)
    { }

    // Takes one logical line that starts on physical line `line`; false on an error.
    bool take(std::string_view text, int line);
    // After the last line: false when something was left open.
    bool finish();
    const std::string &error() const { return m_error; }

private:
    struct Open
    {
        std::string name;
        int line;
    };

    bool inCalendar() const { return !m_open.empty() && m_open.front().name == "VCALENDAR"; }
    // Items stand in the calendar, or alone at the top of the file.
    std::size_t itemDepth() const { return inCalendar() ? 2 : 1; }
    bool begin(std::string_view name, int line);
    bool end(std::string_view name, int line);
    bool feed(std::string_view text, int line);
    void noteCarried(std::string_view name);
    void deliver(icalcomponent *component);

    CalendarItemSink &m_sink;
    icalparser *m_parser;
    icalcomponent *m_zones;
    std::vector<Open> m_open; // components begun, innermost last
    int m_itemLine = 0;
    bool m_carriesLine = false;
    bool m_carriesNumber = false;
    bool m_readEnough = false; // the item's other lines are not needed
    bool m_seenCalendar = false;
    std::string m_error;
};

bool Reader::feed(std::string_view text, int line)
{
    char *owned = static_cast<char *>(icalmemory_new_buffer(text.size() + 1));
    std::memcpy(owned, text.data(), text.size());
    owned[text.size()] = '\0';
    icalcomponent *done = icalparser_add_line(m_parser, owned);
    icalmemory_free_buffer(owned);
    if (done != nullptr)
        deliver(done);
    if (icalparser_get_state(m_parser) != ICALPARSER_ERROR)
        return true;
    const std::string_view name = nameOf(text);
    if (reliedOn(name)) {
        m_error = atLine(line, "cannot read " + upper(name) + ": " + shown(valueOf(text)));
        return false;
    }
    return true; // a property this import does not use
}

void Reader::deliver(icalcomponent *component)
{
    if (icalcomponent_isa(component) == ICAL_VTIMEZONE_COMPONENT)
        icalcomponent_add_component(m_zones, component);
    else
        m_sink.take({ComponentPtr(component), m_zones, m_itemLine});
}

bool Reader::begin(std::string_view name, int line)
{
    m_open.push_back({upper(name), line});
    if (m_open.size() == 1 && inCalendar()) {
        m_seenCalendar = true;
        return true; // the calendar itself: its items go to libical one by one
    }
    if (m_open.size() == itemDepth()) {
        m_itemLine = line;
        m_carriesLine = m_carriesNumber = m_readEnough = false;
    }
    return m_readEnough || feed("BEGIN:" + m_open.back().name, line);
}

bool Reader::end(std::string_view name, int line)
{
    const std::string closed = upper(name);
    if (m_open.empty() || m_open.back().name != closed) {
        std::string what = "END:" + closed + " closes nothing that was begun";
        if (!m_open.empty())
            what += " (BEGIN:" + m_open.back().name + " of line "
                + std::to_string(m_open.back().line) + " is open)";
        m_error = atLine(line, what);
        return false;
    }
    const std::size_t depth = m_open.size();
    m_open.pop_back();
    if (depth == 1 && closed == "VCALENDAR")
        return true;
    if (m_readEnough && depth > itemDepth())
        return true; // inside an item whose lines are no longer needed
    return feed("END:" + closed, line);
}

void Reader::noteCarried(std::string_view name)
{
    if (m_open.size() != itemDepth())
        return;
    m_carriesLine = m_carriesLine || sameName(name, lineProperty);
    m_carriesNumber = m_carriesNumber || sameName(name, lineNumberProperty);
    m_readEnough = m_carriesLine && m_carriesNumber;
}

bool Reader::take(std::string_view text, int line)
{
    if (text.find(':') == std::string_view::npos) {
        m_error = atLine(line, "not an iCalendar line: " + shown(text));
        return false;
    }
    const std::string_view name = nameOf(text);
    if (sameName(name, "BEGIN"))
        return begin(valueOf(text), line);
    if (sameName(name, "END"))
        return end(valueOf(text), line);
    if ((m_open.size() == 1 && inCalendar()) || m_readEnough)
        return true; // the calendar's own properties, or an item that has said enough
    if (!feed(text, line))
        return false;
    noteCarried(name);
    return true;
}

bool Reader::finish()
{
    if (!m_open.empty()) {
        m_error
            = atLine(m_open.back().line,
                     "BEGIN:" + m_open.back().name + " is never ended: the calendar stops early");
        return false;
    }
    if (!m_seenCalendar && m_itemLine == 0) {
        m_error = "not an iCalendar file: it holds no BEGIN:VCALENDAR";
        return false;
    }
    return true;
}

} // namespace

std::string ReadIcalendar(std::string_view text, CalendarItemSink &sink, ComponentPtr &zones)
{
    quietIcalErrors();
    zones.reset(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(nul), '\n');
        return atLine(static_cast<int>(line), "a NUL byte: this is no text file");
    }
    std::unique_ptr<icalparser, void (*)(icalparser *)> parser(icalparser_new(), icalparser_free);
    Feed feed {text};
    icalparser_set_gen_data(parser.get(), &feed);
    Reader reader(sink, parser.get(), zones.get());
    int lastLine = 0; // the physical line where the last logical line ended
    for (;;) {
        feed.ended = false;
        char *line = icalparser_get_line(parser.get(), feedLine);
        if (line == nullptr)
            break;
        const int start = lastLine + 1;
        lastLine = feed.ended ? feed.started : feed.started - 1;
        const bool taken = line[0] == '\0' || reader.take(line, start);
        icalmemory_free_buffer(line);
        if (!taken)
            return reader.error();
    }
    return reader.finish() ? std::string() : reader.error();
}

} // namespace dvw
