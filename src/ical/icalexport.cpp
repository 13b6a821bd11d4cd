#include "icalexport.h"

#include "core/category.h"
#include "core/linereader.h"
#include "eventplan.h"
#include "eventtext.h"
#include "icalsupport.h"
#include "store/tapptdocument.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace dvw {

namespace {

// Dayvane's priority 1 (most important) to 4 on iCalendar's 1 (highest) to 9.
int icalPriorityOf(int priority)
{
    return 2 * priority - 1;
}

// A line that a text property cannot carry unchanged: control characters other than a tab
// and the CR LF between the parts of a continued text, or blanks at either end (a reader
// trims them off a value).
bool needsBytes(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!text.empty() && (blank(text.front()) || blank(text.back())))
        return true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return true;
    }
    return false;
}

std::string hexOf(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex += digits[b >> 4];
        hex += digits[b & 15u];
    }
    return hex;
}

std::string withoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

icalproperty *xProperty(const char *name, const std::string &value)
{
    icalproperty *p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    return p;
}

// Stable identifiers: each line's text hashed (FNV-1a) and how many equal lines come before
// it, so the same file exports the same identifiers.
class LineUids
{
public:
    explicit LineUids(const std::vector<TimeString> &lines)
        : m_hashes(lines.size())
        , m_ordinals(lines.size())
    {
        std::vector<std::pair<std::uint64_t, std::size_t>> byHash(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            byHash[i] = {m_hashes[i] = hashOf(lines[i].text), i};
        std::sort(byHash.begin(), byHash.end());
        for (std::size_t k = 1; k < byHash.size(); ++k) {
            if (byHash[k].first == byHash[k - 1].first)
                m_ordinals[byHash[k].second] = m_ordinals[byHash[k - 1].second] + 1;
        }
    }
    std::string of(std::size_t line) const
    {
        static const char digits[] = "0123456789abcdef";
        std::string uid(16, '0');
        for (int i = 15, shift = 0; i >= 0; --i, shift += 4)
            uid[static_cast<std::size_t>(i)] = digits[(m_hashes[line] >> shift) & 15u];
        return uid + "-" + std::to_string(m_ordinals[line]) + "@dayvane";
    }

private:
    static std::uint64_t hashOf(std::string_view text)
    {
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return hash;
    }

    std::vector<std::uint64_t> m_hashes;
    std::vector<int> m_ordinals;
};

class CalendarBuilder
{
public:
    CalendarBuilder(TApptDocument &doc, const ExportRequest &request, const LineUids &uids)
        : m_doc(doc)
        , m_request(request)
        , m_window(ExportWindow::of(request.first, request.last))
        , m_stamp(icalDateTime(request.today.dayNumber, 0))
        , m_uids(uids)
    {
        m_stamp.zone = icaltimezone_get_utc_timezone();
    }

    ComponentPtr componentOf(const TimeString &line, const ApptInfo &info, const LineDates &dates);

private:
    ComponentPtr event(const TimeString &line, const ApptInfo &info, const LineDates &dates);
    ComponentPtr todo(const TimeString &line, const ApptInfo &info);
    void addCommon(icalcomponent *c, const TimeString &line, int number);
    void addCategoryAndPriority(icalcomponent *c, const ApptInfo &info);
    void addDays(icalcomponent *c, const EventPlan &plan);
    void addAlarm(icalcomponent *c, const ApptInfo &info, const std::string &summary);
    std::string planNote(const EventPlan &plan) const;
    icaltimetype timeOf(std::int64_t day, int minutes) const
    {
        return minutes < 0 ? icalDate(day) : icalDateTime(day, minutes);
    }

    TApptDocument &m_doc;
    const ExportRequest &m_request;
    ExportWindow m_window;
    icaltimetype m_stamp;
    const LineUids &m_uids;
};

ComponentPtr CalendarBuilder::componentOf(const TimeString &line, const ApptInfo &info,
                                          const LineDates &dates)
{
    if (info.kind == Note)
        return todo(line, info);
    if (info.kind >= MonthlyInYear && info.kind <= NthWeekdayOfMonth)
        return event(line, info, dates);
    // Category definitions and other text: nothing to show, only the line to carry.
    ComponentPtr journal(icalcomponent_new(ICAL_VJOURNAL_COMPONENT));
    addCommon(journal.get(), line, info.index);
    return journal;
}

// The carried line comes first: a reader that finds it needs nothing else of the item.
void CalendarBuilder::addCommon(icalcomponent *c, const TimeString &line, int number)
{
    icalproperty *carried = nullptr;
    if (needsBytes(line.text)) {
        carried = xProperty(lineProperty, hexOf(line.text));
        icalparameter *bytes = icalparameter_new_x("HEX");
        icalparameter_set_xname(bytes, lineBytesParameter);
        icalproperty_add_parameter(carried, bytes);
    } else {
        carried = xProperty(lineProperty, withoutCarriageReturns(Utf8Of(line.text)));
    }
    icalcomponent_add_property(c, carried);
    icalcomponent_add_property(c, xProperty(lineNumberProperty, std::to_string(number)));
    icalcomponent_add_property(
        c, icalproperty_new_uid(m_uids.of(static_cast<std::size_t>(number)).c_str()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(m_stamp));
}

void CalendarBuilder::addCategoryAndPriority(icalcomponent *c, const ApptInfo &info)
{
    if (info.category != 0) {
        std::string name(m_doc.categoryDescription(m_doc.FindCategory(info.category)));
        if (name.empty())
            name = UnpackCategory(info.category);
        if (!name.empty())
            icalcomponent_add_property(c, icalproperty_new_categories(Utf8Of(name).c_str()));
    }
    if (info.priority >= 1 && info.priority <= 4)
        icalcomponent_add_property(c, icalproperty_new_priority(icalPriorityOf(info.priority)));
}

ComponentPtr CalendarBuilder::todo(const TimeString &line, const ApptInfo &info)
{
    ComponentPtr c(icalcomponent_new(ICAL_VTODO_COMPONENT));
    addCommon(c.get(), line, info.index);
    const EventText text = EventTextOf(line, m_doc.dateSettings());
    icalcomponent_add_property(c.get(), icalproperty_new_summary(text.summary.c_str()));
    if (!text.details.empty())
        icalcomponent_add_property(c.get(), icalproperty_new_description(text.details.c_str()));
    if (info.completed) {
        icalcomponent_add_property(c.get(), icalproperty_new_status(ICAL_STATUS_COMPLETED));
        icalcomponent_add_property(c.get(), icalproperty_new_percentcomplete(100));
    }
    addCategoryAndPriority(c.get(), info);
    return c;
}

std::string CalendarBuilder::planNote(const EventPlan &plan) const
{
    if (plan.form == EventPlan::Form::Exact)
        return {};
    const std::string range = IsoDay(m_window.first) + " to " + IsoDay(m_window.last);
    if (plan.form == EventPlan::Form::Nowhere)
        return "Dayvane shows this appointment on no day from " + range + ".";
    return "Dayvane lists the days of this appointment from " + range + " one by one"
        + (m_request.listed ? std::string(".") : ": iCalendar cannot state how it repeats.");
}

void CalendarBuilder::addDays(icalcomponent *c, const EventPlan &plan)
{
    const bool timed = plan.time >= 0;
    icalcomponent_add_property(c, icalproperty_new_dtstart(timeOf(plan.first, plan.time)));
    if (!timed && plan.spanDays > 1)
        icalcomponent_add_property(c, icalproperty_new_dtend(icalDate(plan.first + plan.spanDays)));
    if (plan.rule)
        icalcomponent_add_property(c, icalproperty_new_rrule(icalRecurrenceOf(*plan.rule, timed)));
    for (const std::int64_t day : plan.moreDays) {
        icaldatetimeperiodtype rdate {};
        rdate.time = timeOf(day, plan.time);
        rdate.period = icalperiodtype_null_period();
        icalcomponent_add_property(c, icalproperty_new_rdate(rdate));
    }
    for (const std::int64_t day : plan.leftOut)
        icalcomponent_add_property(c, icalproperty_new_exdate(timeOf(day, plan.time)));
}

// A timed line with an alarm code sounds its alarm that many minutes (held to a day)
// before its time.
void CalendarBuilder::addAlarm(icalcomponent *c, const ApptInfo &info, const std::string &summary)
{
    if (info.time < 0 || info.alarmAdvance == -1)
        return;
    const auto advance = static_cast<int>(
        std::min<std::uint32_t>(static_cast<std::uint32_t>(info.alarmAdvance), 1440));
    icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype trigger {};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-60 * advance);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
    icalcomponent_add_component(c, alarm);
}

ComponentPtr CalendarBuilder::event(const TimeString &line, const ApptInfo &info,
                                    const LineDates &dates)
{
    ComponentPtr c(icalcomponent_new(ICAL_VEVENT_COMPONENT));
    addCommon(c.get(), line, info.index);
    const EventText text = EventTextOf(line, m_doc.dateSettings());
    const EventPlan plan = PlanEvent(info, dates, m_window, m_request.listed);
    icalcomponent_add_property(c.get(), icalproperty_new_summary(text.summary.c_str()));
    std::string description = text.details;
    const std::string note = planNote(plan);
    if (!note.empty())
        description += (description.empty() ? "" : "\n\n") + note;
    if (!description.empty())
        icalcomponent_add_property(c.get(), icalproperty_new_description(description.c_str()));
    addDays(c.get(), plan);
    addCategoryAndPriority(c.get(), info);
    if (plan.form != EventPlan::Form::Nowhere)
        addAlarm(c.get(), info, text.summary);
    return c;
}

// The calendar's own lines as libical writes them, split around the place of its items.
struct CalendarShell
{
    std::string head;
    std::string tail;
};

CalendarShell calendarShell()
{
    ComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Dayvane//Dayvane " DVW_VERSION "//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    const std::string text = takeIcalString(icalcomponent_as_ical_string_r(calendar.get()));
    const std::size_t end = text.rfind("END:VCALENDAR");
    return {text.substr(0, end), text.substr(end)};
}

} // namespace

namespace {

// The items of the lines [first, last), in file order: each made, written by libical and
// freed in turn, so that a large file never builds a tree of every item at once.
std::string itemsOf(CalendarBuilder &builder, TApptDocument &doc, std::size_t first,
                    std::size_t last)
{
    const std::vector<TimeString> &lines = doc.lines();
    std::string out;
    out.reserve((last - first) * 320);
    for (std::size_t i = first; i < last; ++i) {
        if (!lines[i].text.empty() && lines[i].text.front() == '~')
            continue; // deleted: the next save drops it
        TimeString line(lines[i].text);
        ApptInfo info(static_cast<std::int32_t>(i));
        LineDates dates;
        ReadAppt(info, doc, line, dates);
        const ComponentPtr item = builder.componentOf(line, info, dates);
        char *text = icalcomponent_as_ical_string_r(item.get());
        out += text;
        icalmemory_free_buffer(text);
    }
    return out;
}

// Lines are independent of each other: a large file is written in runs of lines, one per
// core (at most four), joined in file order.
std::size_t runsFor(std::size_t lines)
{
    constexpr std::size_t linesPerRun = 4096;
    const std::size_t cores = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    return std::clamp<std::size_t>(lines / linesPerRun, 1, cores);
}

} // namespace

std::string ExportCalendar(TApptDocument &doc, const ExportRequest &request)
{
    quietIcalErrors();
    icaltimezone_get_utc_timezone(); // made once, before any thread needs it
    const CalendarShell shell = calendarShell();
    const LineUids uids(doc.lines());
    const std::size_t lines = doc.lines().size();
    const std::size_t runs = runsFor(lines);
    std::vector<CalendarBuilder> builders;
    for (std::size_t r = 0; r < runs; ++r)
        builders.emplace_back(doc, request, uids);
    std::vector<std::string> pieces(runs);
    const auto run = [&](std::size_t r) {
        pieces[r] = itemsOf(builders[r], doc, lines * r / runs, lines * (r + 1) / runs);
    };
    std::vector<std::thread> workers;
    for (std::size_t r = 1; r < runs; ++r)
        workers.emplace_back(run, r);
    run(0);
    for (std::thread &worker : workers)
        worker.join();
    std::size_t size = shell.head.size() + shell.tail.size();
    for (const std::string &piece : pieces)
        size += piece.size();
    std::string out;
    out.reserve(size);
    out += shell.head;
    for (const std::string &piece : pieces)
        out += piece;
    return out + shell.tail;
}

} // namespace dvw
