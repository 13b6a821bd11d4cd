#include "icalimport.h"

#include "calendarrule.h"
#include "core/category.h"
#include "core/linewriter.h"
#include "core/readcontext.h"
#include "core/recurrence.h"
#include "eventplan.h"
#include "eventtext.h"
#include "icalexport.h"
#include "icalreading.h"
#include "store/tapptdocument.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <ctime>
#include <map>
#include <optional>
#include <set>

namespace dvw {

namespace {

using Day = std::int64_t;

// A moment in the local time zone: a day and the minutes since its midnight, -1 for a
// whole day.
struct LocalTime
{
    Day day = 0;
    int minutes = -1;

    auto operator<=>(const LocalTime &) const = default;
};

// What libical's time is on the local clock: a date or a floating time as it stands, a
// time in a zone (or UTC) converted.
LocalTime localOf(const icaltimetype &t)
{
    if (t.is_date)
        return {dayOfIcalTime(t), -1};
    if (t.zone == nullptr)
        return {dayOfIcalTime(t), t.hour * 60 + t.minute};
    const std::time_t instant = icaltime_as_timet_with_zone(t, t.zone);
    std::tm local {};
    if (localtime_r(&instant, &local) == nullptr || local.tm_year + 1900 < 1)
        return {dayOfIcalTime(t), t.hour * 60 + t.minute};
    return {DayNumber(static_cast<std::uint32_t>(local.tm_mon + 1),
                      static_cast<std::uint32_t>(local.tm_mday),
                      static_cast<std::uint32_t>(local.tm_year + 1900)),
            local.tm_hour * 60 + local.tm_min};
}

// Whether two moments are the same occurrence: by day when either is a whole day.
bool sameOccurrence(const LocalTime &a, const LocalTime &b)
{
    return a.day == b.day && (a.minutes < 0 || b.minutes < 0 || a.minutes == b.minutes);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return toUpperAscii(x) == toUpperAscii(y);
           });
}

std::optional<std::string> bytesOfHex(std::string_view hex)
{
    const auto nibble = [](char c) {
        c = toUpperAscii(c);
        return isDigit(c) ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
    };
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return bytes;
}

icalproperty *xPropertyNamed(icalcomponent *c, const char *name)
{
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char *x = icalproperty_get_x_name(p);
        if (x != nullptr && equalsIgnoringCase(x, name))
            return p;
    }
    return nullptr;
}

const char *xParameter(icalproperty *p, const char *name)
{
    for (icalparameter *a = icalproperty_get_first_parameter(p, ICAL_X_PARAMETER); a != nullptr;
         a = icalproperty_get_next_parameter(p, ICAL_X_PARAMETER)) {
        const char *x = icalparameter_get_xname(a);
        if (x != nullptr && equalsIgnoringCase(x, name))
            return icalparameter_get_xvalue(a);
    }
    return nullptr;
}

// iCalendar's priority 1 (highest) to 9 on Dayvane's 1 to 4; 0 (none) stays 0.
std::uint8_t priorityOf(int priority)
{
    if (priority < 1 || priority > 9)
        return 0;
    return static_cast<std::uint8_t>(std::min(4, (priority + 1) / 2));
}

// Walks one recurrence rule's occurrences with libical's iterator, at most ruleStepLimit
// of them. A rule that finds no further date searches until its end, so the walk gives the
// rule an end `reach` days after it must stop looking, and it jumps to `from` when the
// rule does not count its occurrences.
class RuleWalk
{
public:
    RuleWalk(icalrecurrencetype rule, const icaltimetype &start, std::optional<Day> reach,
             std::optional<Day> from)
        : m_zone(start.zone)
    {
        if (reach) {
            icaltimetype end
                = start.is_date ? icalDate(*reach) : icalDateTime(*reach, 23 * 60 + 59);
            end.zone = start.zone;
            if (icaltime_is_null_time(rule.until) || icaltime_compare(end, rule.until) < 0)
                rule.until = end;
        }
        m_iterator = icalrecur_iterator_new(rule, start);
        if (m_iterator != nullptr && from && rule.count == 0 && *from > dayOfIcalTime(start)) {
            icaltimetype jump = start;
            const icaltimetype day = icalDate(*from);
            jump.year = day.year;
            jump.month = day.month;
            jump.day = day.day;
            icalrecur_iterator_set_start(m_iterator, jump);
        }
    }
    ~RuleWalk()
    {
        if (m_iterator != nullptr)
            icalrecur_iterator_free(m_iterator);
    }
    RuleWalk(const RuleWalk &) = delete;
    RuleWalk &operator=(const RuleWalk &) = delete;

    bool valid() const { return m_iterator != nullptr; }
    // True when the walk stopped at its step limit rather than at the rule's end.
    bool cutShort() const { return m_steps >= ruleStepLimit; }

    std::optional<icaltimetype> next()
    {
        if (m_iterator == nullptr || m_steps >= ruleStepLimit)
            return std::nullopt;
        ++m_steps;
        icaltimetype t = icalrecur_iterator_next(m_iterator);
        if (icaltime_is_null_time(t))
            return std::nullopt;
        if (!t.is_date && t.zone == nullptr)
            t.zone = m_zone;
        return t;
    }

private:
    icalrecur_iterator *m_iterator = nullptr;
    const icaltimezone *m_zone;
    int m_steps = 0;
};

// A VEVENT's facts as the line language needs them.
struct Event
{
    icalcomponent *component = nullptr;
    icalcomponent *zones = nullptr; // the file's time zones
    int line = 0;
    icaltimetype start {}; // DTSTART with its time zone
    LocalTime first; // DTSTART on the local clock
    int following = 0; // days after the start that an occurrence also covers
    std::vector<LocalTime> leftOut; // EXDATEs and the occurrences moved or cancelled
};

class Importer : public CalendarItemSink
{
public:
    Importer(const ImportRequest &request, ImportResult &result)
        : m_request(request)
        , m_result(result)
        , m_context(request.dateText)
        , m_today(request.today.dayNumber)
    {
        TDate later = request.today;
        later.AddMonths(expandMonths);
        m_horizon = Day(later.dayNumber) - 1;
    }

    // Items that carry their line are taken at once; the others wait for the whole file,
    // whose time zones and moved occurrences they may need.
    void take(CalendarItem item) override;
    void finish();

private:
    void collectOverrides();
    void item(const CalendarItem &item);
    bool carried(const CalendarItem &item);
    void todo(const CalendarItem &item);
    void event(const CalendarItem &item);
    void single(const Event &e);
    bool exactRule(const Event &e, icalproperty *rrule);
    void expand(const Event &e);
    bool consistentClock(const icalrecurrencetype &rule, const Event &e, const icaltimetype &first);
    std::optional<Day> countedEnd(const icalrecurrencetype &rule, const Event &e,
                                  const ApptInfo &schedule, Day first);
    std::optional<Day> lastDayOf(const icalrecurrencetype &rule, const Event &e, Day first);
    int followingDays(const Event &e);
    void fillCommon(ApptInfo &info, icalcomponent *c, bool timed) const;
    std::uint32_t categoryOf(icalcomponent *c) const;
    std::string summaryOf(icalcomponent *c) const;
    icaltimetype resolved(icalproperty *p, icaltimetype t, icalcomponent *zones, int line);
    std::string compose(ApptInfo info, const LineDates &dates, std::string_view summary,
                        int minutes);
    void add(std::string line) { m_lines.push_back(std::move(line)); }
    void skip(int line, const std::string &why);
    void note(int line, const std::string &what);

    struct Carried
    {
        long long number;
        std::size_t order;
        std::string text;
    };

    const ImportRequest &m_request;
    ImportResult &m_result;
    SimpleReadContext m_context;
    Day m_today;
    Day m_horizon;
    std::map<std::string, std::vector<LocalTime>> m_moved; // by UID: RECURRENCE-IDs
    std::set<std::string> m_repeating; // UIDs of events with their own rules
    std::vector<Carried> m_carried;
    std::vector<CalendarItem> m_waiting;
    std::vector<std::string> m_lines;
};

void Importer::skip(int line, const std::string &why)
{
    ++m_result.skipped;
    note(line, "not imported: " + why);
}

void Importer::note(int line, const std::string &what)
{
    m_result.notes.push_back(line > 0 ? "line " + std::to_string(line) + ": " + what : what);
}

// A time of a property in the zone its TZID names: the calendar's own VTIMEZONE, else a
// zone of the system's time zone data. An unknown zone is taken as the local clock.
icaltimetype Importer::resolved(icalproperty *p, icaltimetype t, icalcomponent *zones, int line)
{
    if (t.is_date || t.zone != nullptr)
        return t;
    icalparameter *param = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    const char *tzid = param != nullptr ? icalparameter_get_tzid(param) : nullptr;
    if (tzid == nullptr)
        return t;
    icaltimezone *zone = zones != nullptr ? icalcomponent_get_timezone(zones, tzid) : nullptr;
    // Only names, never paths, reach the system's zone data.
    const bool plainName = std::string_view(tzid).find("..") == std::string_view::npos;
    if (zone == nullptr && plainName)
        zone = icaltimezone_get_builtin_timezone(tzid);
    if (zone == nullptr && plainName)
        zone = icaltimezone_get_builtin_timezone_from_tzid(tzid);
    if (zone == nullptr)
        note(line, std::string("unknown time zone \"") + tzid + "\": its times are taken as local");
    t.zone = zone;
    return t;
}

std::string Importer::summaryOf(icalcomponent *c) const
{
    const char *summary = icalcomponent_get_summary(c);
    return summary != nullptr ? summary : "";
}

std::uint32_t Importer::categoryOf(icalcomponent *c) const
{
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
        const char *name = icalproperty_get_categories(p);
        if (name == nullptr)
            continue;
        for (const ImportCategory &category : m_request.categories) {
            if (equalsIgnoringCase(name, category.description)
                || equalsIgnoringCase(name, UnpackCategory(category.code)))
                return category.code;
        }
    }
    return 0;
}

// Priority, category and, for a timed event, the advance of its first alarm that sounds a
// whole number of minutes (at most a day) before the start.
void Importer::fillCommon(ApptInfo &info, icalcomponent *c, bool timed) const
{
    if (icalproperty *p = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY))
        info.priority = priorityOf(icalproperty_get_priority(p));
    info.category = categoryOf(c);
    if (!timed)
        return;
    for (icalcomponent *alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT);
         alarm != nullptr; alarm = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
        icalproperty *p = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (p == nullptr || icalproperty_get_first_parameter(p, ICAL_RELATED_PARAMETER) != nullptr)
            continue;
        const icaltriggertype trigger = icalproperty_get_trigger(p);
        if (!icaltime_is_null_time(trigger.time))
            continue;
        const int seconds = icaldurationtype_as_int(trigger.duration);
        if (seconds <= 0 && seconds >= -86400 && seconds % 60 == 0) {
            info.alarmAdvance = -seconds / 60;
            return;
        }
    }
}

std::string Importer::compose(ApptInfo info, const LineDates &dates, std::string_view summary,
                              int minutes)
{
    info.hasExcluded = !dates.excluded.empty();
    TimeString appt(ImportedFreeText(minutes, summary, info.kind != Note, m_request.dateText));
    appt.textStart = 0;
    WriteAppt(info, dates, m_context, appt);
    return appt.text;
}

// The RECURRENCE-IDs of moved or cancelled occurrences, by UID, and which UIDs repeat.
void Importer::collectOverrides()
{
    for (const CalendarItem &item : m_waiting) {
        if (icalcomponent_isa(item.component.get()) != ICAL_VEVENT_COMPONENT)
            continue;
        icalcomponent *c = item.component.get();
        const char *uid = icalcomponent_get_uid(c);
        if (uid == nullptr)
            continue;
        icalproperty *p = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
        if (p == nullptr) {
            if (icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY) != nullptr
                || icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY) != nullptr)
                m_repeating.insert(uid);
            continue;
        }
        const icaltimetype id
            = resolved(p, icalproperty_get_recurrenceid(p), item.zones, item.line);
        m_moved[uid].push_back(localOf(id));
    }
}

bool Importer::carried(const CalendarItem &item)
{
    icalproperty *p = xPropertyNamed(item.component.get(), lineProperty);
    if (p == nullptr)
        return false;
    const char *value = icalproperty_get_x(p);
    std::string text = value != nullptr ? value : "";
    if (const char *form = xParameter(p, lineBytesParameter); form != nullptr) {
        const std::optional<std::string> bytes
            = equalsIgnoringCase(form, "HEX") ? bytesOfHex(text) : std::nullopt;
        if (!bytes) {
            skip(item.line, std::string("its line is in an unknown form (") + form + ")");
            return true;
        }
        text = *bytes;
    }
    long long number = LLONG_MAX; // without a number: after the numbered ones
    if (icalproperty *n = xPropertyNamed(item.component.get(), lineNumberProperty)) {
        const char *digits = icalproperty_get_x(n);
        const std::string_view v = digits != nullptr ? digits : "";
        long long parsed = 0;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), parsed);
        if (ec == std::errc() && end == v.data() + v.size())
            number = parsed;
    }
    m_carried.push_back({number, m_carried.size(), std::move(text)});
    ++m_result.imported;
    return true;
}

void Importer::todo(const CalendarItem &item)
{
    ApptInfo info;
    info.kind = Note;
    icalcomponent *c = item.component.get();
    const icalproperty *percent
        = icalcomponent_get_first_property(c, ICAL_PERCENTCOMPLETE_PROPERTY);
    info.completed = icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED
        || icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY) != nullptr
        || (percent != nullptr
            && icalproperty_get_percentcomplete(const_cast<icalproperty *>(percent)) >= 100);
    fillCommon(info, c, false);
    add(compose(info, {}, summaryOf(c), -1));
    ++m_result.imported;
}

// Whole days an occurrence covers after its first: DTEND or DURATION, an end at midnight
// ending the day before. Held to maxWorkedSpan.
int Importer::followingDays(const Event &e)
{
    icalcomponent *c = e.component;
    LocalTime end = e.first;
    if (icalproperty *p = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
        end = localOf(resolved(p, icalproperty_get_dtend(p), e.zones, e.line));
    } else if (icalproperty *d = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY)) {
        end = localOf(icaltime_add(e.start, icalproperty_get_duration(d)));
    } else {
        return 0;
    }
    Day last = end.day;
    if (e.first.minutes < 0 || (end.minutes == 0 && end.day > e.first.day))
        --last; // an all-day end, or midnight, is the first day not covered
    const Day following = std::max<Day>(0, last - e.first.day);
    if (following > maxWorkedSpan) {
        note(e.line,
             "it lasts longer than " + std::to_string(maxWorkedSpan)
                 + " days: it is shown on its first " + std::to_string(maxWorkedSpan + 1));
        return maxWorkedSpan;
    }
    return static_cast<int>(following);
}

void Importer::single(const Event &e)
{
    for (const LocalTime &left : e.leftOut) {
        if (sameOccurrence(left, e.first)) {
            skip(e.line, "its one date is left out (EXDATE)");
            return;
        }
    }
    ApptInfo info;
    info.kind = e.following > 0 ? SingleShowFollowing : Single;
    info.mainDate = TDate::fromDayNumber(static_cast<std::uint32_t>(e.first.day));
    info.showFollowing = e.following;
    fillCommon(info, e.component, e.first.minutes >= 0);
    add(compose(info, {}, summaryOf(e.component), e.first.minutes));
    ++m_result.imported;
}

// Whether every occurrence of a rule in a time zone falls, on the local clock, on its own
// date at the first one's time (no other date, no summer-time hour): the first one, and
// those from today through the days an import looks at.
bool Importer::consistentClock(const icalrecurrencetype &rule, const Event &e,
                               const icaltimetype &first)
{
    const LocalTime start = localOf(first);
    if (start.day != dayOfIcalTime(first))
        return false;
    RuleWalk walk(rule, e.start, m_horizon + 1, m_today - 1);
    std::optional<int> minutes = start.minutes;
    while (const std::optional<icaltimetype> t = walk.next()) {
        const LocalTime local = localOf(*t);
        if (local.day > m_horizon)
            return true;
        if (local.day != dayOfIcalTime(*t) || local.minutes != minutes.value_or(local.minutes))
            return false;
        minutes = local.minutes;
    }
    return !walk.cutShort();
}

// The day of a counted rule's last occurrence: walked when it is near, else worked out for
// a plain count of days or weeks; nullopt when neither can be had.
std::optional<Day> Importer::countedEnd(const icalrecurrencetype &rule, const Event &e,
                                        const ApptInfo &schedule, Day first)
{
    RuleWalk walk(rule, e.start, std::nullopt, std::nullopt);
    std::optional<Day> last;
    while (const std::optional<icaltimetype> t = walk.next())
        last = localOf(*t).day;
    if (!walk.cutShort())
        return last;
    if (schedule.weekdaysOnly || (schedule.kind != EveryNDays && schedule.kind != EveryNWeeks))
        return std::nullopt;
    const Day step = Day(schedule.n) * (schedule.kind == EveryNWeeks ? 7 : 1);
    return first + (Day(rule.count) - 1) * step;
}

// The last day an occurrence may start on, from UNTIL: on its day when the event's time
// is not after UNTIL's time there, else the day before.
std::optional<Day> Importer::lastDayOf(const icalrecurrencetype &rule, const Event &e, Day first)
{
    icaltimetype until = rule.until;
    if (!until.is_date && until.zone == nullptr && !icaltime_is_utc(until))
        until.zone = e.start.zone; // a floating UNTIL reads in the event's own zone
    const LocalTime end = localOf(until);
    Day last = end.day;
    if (e.first.minutes >= 0 && end.minutes >= 0 && end.minutes < e.first.minutes)
        --last;
    return last < first ? std::nullopt : std::optional<Day>(last);
}

// One line whose schedule gives exactly the rule's dates; false when the line language
// cannot say the rule (the caller then expands it).
bool Importer::exactRule(const Event &e, icalproperty *rrule)
{
    const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
    const std::optional<CalendarRule> shape = calendarRuleOf(rule);
    // A left-out occurrence of several days is left out whole; a line leaves out days.
    if (!shape || (e.following > 0 && !e.leftOut.empty()))
        return false;
    const int fixedMonth = shape->month;
    if (shape->monthDay > 0 && fixedMonth != 0
        && !IsValidDay(static_cast<std::uint32_t>(fixedMonth),
                       static_cast<std::uint32_t>(shape->monthDay), 0)) {
        skip(e.line, "its rule gives no date");
        return true;
    }
    RuleWalk walk(rule, e.start, std::nullopt, std::nullopt);
    if (!walk.valid())
        return false;
    const std::optional<icaltimetype> firstTime = walk.next();
    if (!firstTime) {
        skip(e.line, "its rule gives no date");
        return true;
    }
    const LocalTime first = localOf(*firstTime);
    std::optional<ApptInfo> schedule = ScheduleOf(*shape, first.day);
    // Weekdays only would leave out the weekend days an occurrence runs into, too.
    if (!schedule || !isCalendarDay(first.day) || (schedule->weekdaysOnly && e.following > 0))
        return false;
    if (e.first.minutes >= 0 && e.start.zone != nullptr && !consistentClock(rule, e, *firstTime))
        return false;
    std::optional<Day> last;
    if (rule.count > 0) {
        last = countedEnd(rule, e, *schedule, first.day);
        if (!last)
            return false;
    }
    if (!icaltime_is_null_time(rule.until)) {
        const std::optional<Day> until = lastDayOf(rule, e, first.day);
        if (!until) {
            skip(e.line, "its rule ends before it starts");
            return true;
        }
        last = std::min(last.value_or(*until), *until);
    }
    ApptInfo info = *schedule;
    info.hasStart = true;
    info.startDate = TDate::fromDayNumber(static_cast<std::uint32_t>(first.day));
    if (last && *last <= lastRuleDay) {
        info.hasEnd = true;
        info.endDate = TDate::fromDayNumber(static_cast<std::uint32_t>(*last));
    }
    info.showFollowing = e.following;
    LineDates dates;
    for (const LocalTime &left : e.leftOut) {
        if (isCalendarDay(left.day) && left.day >= first.day)
            dates.excluded.insert(TDate::fromDayNumber(static_cast<std::uint32_t>(left.day)));
    }
    fillCommon(info, e.component, first.minutes >= 0);
    add(compose(info, dates, summaryOf(e.component), first.minutes));
    ++m_result.imported;
    return true;
}

// One line per occurrence from today through the horizon: RRULEs as libical walks them,
// RDATEs, DTSTART when no rule leaves it out; EXDATEs and moved occurrences taken away.
void Importer::expand(const Event &e)
{
    icalcomponent *c = e.component;
    std::set<LocalTime> found;
    const auto keep = [&](const LocalTime &t) {
        if (t.day >= m_today && t.day <= m_horizon)
            found.insert(t);
    };
    bool hasRule = false;
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        if (rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE) {
            skip(e.line, "it repeats more often than every hour");
            return;
        }
        RuleWalk walk(rule, e.start, m_horizon + 1, m_today - 1);
        if (!walk.valid()) {
            skip(e.line, "libical cannot expand its rule");
            return;
        }
        hasRule = true;
        while (const std::optional<icaltimetype> t = walk.next()) {
            const LocalTime local = localOf(*t);
            if (local.day > m_horizon)
                break;
            keep(local);
        }
        if (walk.cutShort())
            note(e.line,
                 "its rule was followed for " + std::to_string(ruleStepLimit) + " dates only");
    }
    if (!hasRule)
        keep(e.first);
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
        const icaltimetype t
            = icaltime_is_null_time(rdate.period.start) ? rdate.time : rdate.period.start;
        if (!icaltime_is_null_time(t))
            keep(localOf(resolved(p, t, e.zones, e.line)));
    }
    std::erase_if(found, [&](const LocalTime &t) {
        return std::any_of(e.leftOut.begin(), e.leftOut.end(),
                           [&](const LocalTime &left) { return sameOccurrence(left, t); });
    });
    if (found.empty()) {
        skip(e.line, "no date from " + IsoDay(m_today) + " to " + IsoDay(m_horizon));
        return;
    }
    int made = 0;
    for (const LocalTime &t : found) {
        if (made++ == maxLinesPerEvent) {
            note(e.line,
                 "only its first " + std::to_string(maxLinesPerEvent) + " dates are imported");
            break;
        }
        ApptInfo info;
        info.kind = e.following > 0 ? SingleShowFollowing : Single;
        info.mainDate = TDate::fromDayNumber(static_cast<std::uint32_t>(t.day));
        info.showFollowing = e.following;
        fillCommon(info, c, t.minutes >= 0);
        add(compose(info, {}, summaryOf(c), t.minutes));
    }
    ++m_result.imported;
    ++m_result.expanded;
}

void Importer::event(const CalendarItem &item)
{
    icalcomponent *c = item.component.get();
    Event e;
    e.component = c;
    e.zones = item.zones;
    e.line = item.line;
    const char *uid = icalcomponent_get_uid(c);
    const bool moved = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr;
    if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) {
        if (moved && uid != nullptr && m_repeating.count(uid) != 0)
            ++m_result.imported; // its occurrence is left out of the repeating event
        else
            skip(item.line, "the event is cancelled");
        return;
    }
    icalproperty *dtstart = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    if (dtstart == nullptr) {
        skip(item.line, "the event has no start (DTSTART)");
        return;
    }
    e.start = resolved(dtstart, icalproperty_get_dtstart(dtstart), e.zones, e.line);
    e.first = localOf(e.start);
    if (!isCalendarDay(e.first.day)) {
        skip(item.line, "its start is no day of the calendar");
        return;
    }
    e.following = followingDays(e);
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY))
        e.leftOut.push_back(localOf(resolved(p, icalproperty_get_exdate(p), e.zones, e.line)));
    if (!moved && uid != nullptr) {
        if (const auto it = m_moved.find(uid); it != m_moved.end())
            e.leftOut.insert(e.leftOut.end(), it->second.begin(), it->second.end());
    }
    icalproperty *rrule = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    const bool listed = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY) != nullptr;
    if (rrule == nullptr && !listed) {
        single(e);
        return;
    }
    const bool oneRule = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY) == nullptr;
    if (!listed && oneRule && exactRule(e, rrule))
        return;
    expand(e);
}

void Importer::item(const CalendarItem &item)
{
    const icalcomponent_kind kind = icalcomponent_isa(item.component.get());
    if (kind == ICAL_VEVENT_COMPONENT)
        event(item);
    else if (kind == ICAL_VTODO_COMPONENT)
        todo(item);
    else
        skip(item.line,
             std::string("a ") + icalcomponent_kind_to_string(kind)
                 + " has no place in an appointment file");
}

void Importer::take(CalendarItem item)
{
    const icalcomponent_kind kind = icalcomponent_isa(item.component.get());
    const bool calendarItem = kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT
        || kind == ICAL_VJOURNAL_COMPONENT;
    if (!calendarItem || !carried(item))
        m_waiting.push_back(std::move(item));
}

void Importer::finish()
{
    collectOverrides();
    for (const CalendarItem &item : m_waiting)
        this->item(item);
    std::stable_sort(m_carried.begin(), m_carried.end(),
                     [](const Carried &a, const Carried &b) { return a.number < b.number; });
    m_result.lines.reserve(m_carried.size() + m_lines.size());
    for (Carried &c : m_carried)
        m_result.lines.push_back(std::move(c.text));
    for (std::string &line : m_lines)
        m_result.lines.push_back(std::move(line));
    m_result.ok = true;
}

} // namespace

std::vector<ImportCategory> ImportCategoriesOf(const TApptDocument &doc)
{
    std::vector<ImportCategory> categories;
    for (std::size_t i = 0; i < doc.categories().size(); ++i)
        categories.push_back({doc.categories()[i].packedCode,
                              std::string(doc.categoryDescription(static_cast<int>(i)))});
    return categories;
}

ImportResult ImportCalendar(std::string_view text, const ImportRequest &request)
{
    ImportResult result;
    Importer importer(request, result);
    ComponentPtr zones;
    const std::string error = ReadIcalendar(text, importer, zones);
    if (!error.empty()) {
        result = ImportResult();
        result.error = error;
        return result;
    }
    importer.finish();
    return result;
}

} // namespace dvw
