#pragma once

// What the iCalendar tests share: a calendar parsed by libical, the days libical's own
// recurrence expansion gives an event, the days a line shows on, and a local time zone
// set for one test.
#include "core/linereader.h"
#include "ical/icalsupport.h"
#include "store/linedays.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace dvw::test {

using Day = std::int64_t;

// Sets the process's local time zone (TZ) for as long as it lives.
class LocalZone
{
public:
    explicit LocalZone(const char *zone)
    {
        if (const char *old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~LocalZone()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    LocalZone(const LocalZone &) = delete;
    LocalZone &operator=(const LocalZone &) = delete;

private:
    std::optional<std::string> m_old;
};

inline Day dayOf(int year, int month, int day)
{
    return DayNumber(static_cast<std::uint32_t>(month), static_cast<std::uint32_t>(day),
                     static_cast<std::uint32_t>(year));
}

inline ComponentPtr parsed(const std::string &text)
{
    return ComponentPtr(icalparser_parse_string(text.c_str()));
}

// The calendar items of a kind, in order.
inline std::vector<icalcomponent *> itemsOf(icalcomponent *calendar, icalcomponent_kind kind)
{
    std::vector<icalcomponent *> items;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, kind); c != nullptr;
         c = icalcomponent_get_next_component(calendar, kind))
        items.push_back(c);
    return items;
}

// The value of an X- property, or empty.
inline std::string xValue(icalcomponent *c, const char *name)
{
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        if (std::string(icalproperty_get_x_name(p)) == name)
            return icalproperty_get_x(p);
    }
    return {};
}

// The days an event covers from `from` through `to`: the occurrences libical's own
// expansion gives (icalcomponent_foreach_recurrence), a timed one covering the day it
// starts, an all-day one its days up to DTEND (not included, as RFC 5545 has it; libical's
// spans end a day later). Times are floating: run under TZ=UTC.
inline std::set<Day> libicalDays(icalcomponent *event, Day from, Day to)
{
    struct Collect
    {
        std::set<Day> days;
        Day from, to;
        Day allDaySpan; // 0 for a timed event
    } collect {{}, from, to, 0};
    const icaltimetype start = icalcomponent_get_dtstart(event);
    if (start.is_date) {
        const icaltimetype end = icalcomponent_get_dtend(event);
        collect.allDaySpan = icaltime_is_null_time(end)
            ? 1
            : std::max<Day>(1, dayOfIcalTime(end) - dayOfIcalTime(start));
    }
    struct Span
    {
        static void add(icalcomponent *, icaltime_span *span, void *data)
        {
            auto *c = static_cast<Collect *>(data);
            std::tm utc {};
            const std::time_t start = span->start;
            gmtime_r(&start, &utc);
            const Day first = dayOf(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
            Day last = first;
            if (c->allDaySpan > 0) {
                last = first + c->allDaySpan - 1;
            } else if (span->end > span->start) {
                const std::time_t end = span->end - 1;
                gmtime_r(&end, &utc);
                last = dayOf(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
            }
            for (Day d = std::max(first, c->from); d <= std::min(last, c->to); ++d)
                c->days.insert(d);
        }
    };
    icalcomponent_foreach_recurrence(event, icalDate(from - 400), icalDate(to + 1), Span::add,
                                     &collect);
    return collect.days;
}

// The days a line shows on from `from` through `to`, as `when` gives them.
inline std::set<Day> lineDays(const std::string &text, const DateTextSettings &settings, Day from,
                              Day to)
{
    SimpleReadContext context(settings);
    TimeString line(text);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, context, line, dates);
    std::set<Day> days;
    for (const LineDay &d :
         LineDays(info, dates, TDate::fromDayNumber(static_cast<std::uint32_t>(from)), to,
                  std::numeric_limits<std::size_t>::max()))
        days.insert(d.date.dayNumber);
    return days;
}

} // namespace dvw::test
