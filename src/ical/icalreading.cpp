#include "icalreading.h"

#include "core/textcursor.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), toUpperAscii);
    return out;
}

// The name of a content line (before its parameters and value), in upper case.
std::string nameOf(std::string_view line)
{
    return upper(line.substr(0, line.find_first_of(";:")));
}

std::string valueOf(std::string_view line)
{
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(line.substr(colon + 1));
}

// Properties whose values an import turns into dates, rules or lines: when libical cannot
// read one, the calendar is not read rather than read wrong.
bool reliedOn(const std::string &name)
{
    static const char *const names[] = {"DTSTART",        "DTEND",
                                        "DURATION",       "RRULE",
                                        "RDATE",          "EXDATE",
                                        "RECURRENCE-ID",  "TRIGGER",
                                        "X-DAYVANE-LINE", "X-DAYVANE-LINE-NUMBER",
                                        "BEGIN",          "END"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
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
    explicit Reader(ReadCalendar &result)
        : m_result(result)
    { }

    // Takes one logical line that starts on physical line `line`; false on an error.
    bool take(const std::string &text, int line, icalparser *parser);
    // After the last line: false when something was left open.
    bool finish();

private:
    bool openComponent(const std::string &name, int line);
    bool closeComponent(const std::string &name, int line);

    ReadCalendar &m_result;
    std::vector<std::pair<std::string, int>> m_open; // components begun, innermost last
    std::vector<std::pair<std::string, int>> m_itemLines; // where each item begins
};

bool Reader::openComponent(const std::string &name, int line)
{
    m_open.emplace_back(name, line);
    const bool inCalendar = m_open.front().first == "VCALENDAR";
    if (m_open.size() == (inCalendar ? 2u : 1u))
        m_itemLines.emplace_back(name, line);
    return true;
}

bool Reader::closeComponent(const std::string &name, int line)
{
    if (m_open.empty() || m_open.back().first != name) {
        m_result.error
            = atLine(line,
                     "END:" + name + " closes nothing that was begun"
                         + (m_open.empty() ? std::string()
                                           : " (BEGIN:" + m_open.back().first + " of line "
                                    + std::to_string(m_open.back().second) + " is open)"));
        return false;
    }
    m_open.pop_back();
    return true;
}

bool Reader::take(const std::string &text, int line, icalparser *parser)
{
    const std::string name = nameOf(text);
    if (name == "BEGIN" && !openComponent(upper(valueOf(text)), line))
        return false;
    if (name == "END" && !closeComponent(upper(valueOf(text)), line))
        return false;
    // libical takes its own copy of the line over.
    char *owned = static_cast<char *>(icalmemory_new_buffer(text.size() + 1));
    std::memcpy(owned, text.c_str(), text.size() + 1);
    if (icalcomponent *done = icalparser_add_line(parser, owned))
        m_result.roots.emplace_back(done);
    if (icalparser_get_state(parser) != ICALPARSER_ERROR)
        return true;
    if (text.find(':') == std::string::npos) {
        m_result.error = atLine(line, "not an iCalendar line: " + shown(text));
        return false;
    }
    if (reliedOn(name)) {
        m_result.error = atLine(line, "cannot read " + name + ": " + shown(valueOf(text)));
        return false;
    }
    return true; // a property this import does not use
}

bool Reader::finish()
{
    if (!m_open.empty()) {
        m_result.error
            = atLine(m_open.back().second,
                     "BEGIN:" + m_open.back().first + " is never ended: the calendar stops early");
        return false;
    }
    if (m_result.roots.empty()) {
        m_result.error = "not an iCalendar file: it holds no BEGIN:VCALENDAR";
        return false;
    }
    // Pair each item with where it began: libical keeps the file's order.
    std::size_t next = 0;
    for (const ComponentPtr &root : m_result.roots) {
        const bool isCalendar = icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT;
        const auto add = [&](icalcomponent *c) {
            const char *kind = icalcomponent_kind_to_string(icalcomponent_isa(c));
            int line = 0;
            for (std::size_t k = next; k < m_itemLines.size(); ++k) {
                if (kind != nullptr && m_itemLines[k].first == kind) {
                    line = m_itemLines[k].second;
                    next = k + 1;
                    break;
                }
            }
            m_result.items.push_back({c, isCalendar ? root.get() : nullptr, line});
        };
        if (!isCalendar) {
            add(root.get());
            continue;
        }
        for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT);
             c != nullptr; c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT))
            add(c);
    }
    return true;
}

} // namespace

ReadCalendar ReadIcalendar(std::string_view text)
{
    quietIcalErrors();
    ReadCalendar result;
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(nul), '\n');
        result.error = atLine(static_cast<int>(line), "a NUL byte: this is no text file");
        return result;
    }
    std::unique_ptr<icalparser, void (*)(icalparser *)> parser(icalparser_new(), icalparser_free);
    Feed feed {text};
    icalparser_set_gen_data(parser.get(), &feed);
    Reader reader(result);
    int lastLine = 0; // the physical line where the last logical line ended
    for (;;) {
        feed.ended = false;
        char *line = icalparser_get_line(parser.get(), feedLine);
        if (line == nullptr)
            break;
        const int start = lastLine + 1;
        lastLine = feed.ended ? feed.started : feed.started - 1;
        std::string content(line);
        icalmemory_free_buffer(line);
        if (!content.empty() && !reader.take(content, start, parser.get())) {
            result.roots.clear();
            return result;
        }
    }
    if (!reader.finish())
        result.roots.clear();
    return result;
}

} // namespace dvw
