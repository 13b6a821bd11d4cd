// The rules of lines as iCalendar states them, at the edges of what it can state, and the
// way back from a rule to a line's schedule.
#include "core/linereader.h"
#include "core/linewriter.h"
#include "ical/calendarrule.h"
#include "ical/icalsupport.h"
#include "icaltesthelpers.h"

#include <gtest/gtest.h>

using namespace dvw;
using namespace dvw::test;

namespace {

ApptInfo infoOf(const std::string &text)
{
    SimpleReadContext context;
    TimeString line(text);
    ApptInfo info;
    ReadAppt(info, context, line);
    return info;
}

// libical's text of the rule a line's dates follow, or "-" when iCalendar cannot state it.
std::string ruleTextOf(const std::string &line)
{
    const std::optional<CalendarRule> rule = CalendarRuleOf(infoOf(line));
    if (!rule)
        return "-";
    icalrecurrencetype r = icalRecurrenceOf(*rule, false);
    return takeIcalString(icalrecurrencetype_as_string_r(&r));
}

// The schedule a rule (libical's text) says from its first date, as a line with the free
// text "x", or "-".
std::string lineOf(const std::string &rruleText, Day first)
{
    const std::optional<CalendarRule> rule
        = calendarRuleOf(icalrecurrencetype_from_string(rruleText.c_str()));
    const std::optional<ApptInfo> schedule
        = rule ? ScheduleOf(*rule, first) : std::optional<ApptInfo>();
    if (!schedule)
        return "-";
    SimpleReadContext context;
    TimeString line("x");
    WriteAppt(*schedule, {}, context, line);
    return line.text;
}

} // namespace

TEST(CalendarRule, LinesAtTheEdgesOfWhatICalendarStates)
{
    const std::pair<const char *, const char *> rows[] = {
        {"!1D x", "FREQ=DAILY"},
        {"!32767W x", "FREQ=WEEKLY;INTERVAL=32767"},
        {"!32768W x", "-"}, // beyond the interval a calendar holds
        {"!0D x", "-"}, // gives no dates
        {"!?0MON x", "-"}, // an ordinal of 0 gives nothing
        {"!?9TUE x", "FREQ=MONTHLY;BYDAY=-1TU"}, // ordinals past 4 mean the last
        {"!?4TUE x", "FREQ=MONTHLY;BYDAY=4TU"},
        {"!DEC1SUN<7 x", "-"}, // a day count from an nth weekday
        {"!sat,SUN x", "FREQ=WEEKLY;BYDAY=SU,SA"},
        {"?/0 x", "-"}, // a day the calendar lacks
        {"?/31 x", "FREQ=MONTHLY;BYMONTHDAY=31"},
        {"2/29 x", "FREQ=YEARLY;BYMONTHDAY=29;BYMONTH=2"},
        {"2/32 x", "FREQ=YEARLY;BYMONTHDAY=-1;BYMONTH=2"},
        {"?/15/2026 x", "FREQ=MONTHLY;UNTIL=20261231;BYMONTHDAY=15"},
        {"3/5/2026 x", "-"}, // one date is no rule
        {"* x", "-"},
        {"x", "-"},
    };
    for (const auto &[line, rule] : rows)
        EXPECT_EQ(ruleTextOf(line), rule) << line;
}

TEST(CalendarRule, RulesBackToSchedules)
{
    const Day monday = dayOf(2026, 3, 2);
    const std::pair<const char *, const char *> rows[] = {
        {"FREQ=DAILY;INTERVAL=4", "!4D x"},
        {"FREQ=DAILY;BYDAY=MO,FR", "!MON,FRI x"},
        {"FREQ=DAILY;INTERVAL=2;BYDAY=MO,TU,WE,TH,FR", "\\W!2D x"},
        {"FREQ=DAILY;INTERVAL=2;BYDAY=MO", "-"},
        {"FREQ=DAILY;BYMONTHDAY=3", "-"},
        {"FREQ=WEEKLY", "!MON x"},
        {"FREQ=WEEKLY;INTERVAL=3", "!3W x"},
        {"FREQ=WEEKLY;INTERVAL=3;BYDAY=MO", "!3W x"},
        {"FREQ=WEEKLY;INTERVAL=3;BYDAY=TU", "-"}, // the first date is no Tuesday
        {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH", "-"},
        {"FREQ=MONTHLY", "?/2 x"},
        {"FREQ=MONTHLY;INTERVAL=2", "!2M x"},
        {"FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=-1", "-"},
        {"FREQ=MONTHLY;BYMONTHDAY=1,15", "-"},
        {"FREQ=MONTHLY;BYDAY=1MO", "!?1MON x"},
        {"FREQ=MONTHLY;BYDAY=5MO", "-"}, // a fifth Monday is no last Monday
        {"FREQ=MONTHLY;BYDAY=-2MO", "-"},
        {"FREQ=MONTHLY;BYDAY=MO;BYSETPOS=-1", "!?5MON x"},
        {"FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=-1", "-"},
        {"FREQ=MONTHLY;BYDAY=MO,WE", "!MON,WED x"},
        {"FREQ=MONTHLY;INTERVAL=2;BYDAY=2MO", "-"},
        {"FREQ=MONTHLY;BYMONTH=3;BYDAY=1MO", "!MAR1MON x"},
        {"FREQ=YEARLY", "3/2 x"},
        {"FREQ=YEARLY;BYMONTH=7", "7/2 x"},
        {"FREQ=YEARLY;BYMONTH=7;BYMONTHDAY=-1", "7/32 x"},
        {"FREQ=YEARLY;BYMONTHDAY=9", "-"}, // every month's 9th
        {"FREQ=YEARLY;BYDAY=20MO", "-"},
        {"FREQ=YEARLY;INTERVAL=2", "-"},
        {"FREQ=YEARLY;BYMONTH=3,9", "-"},
        {"FREQ=YEARLY;BYWEEKNO=10", "-"},
        {"FREQ=DAILY;BYHOUR=9", "-"},
        {"FREQ=HOURLY", "-"},
    };
    for (const auto &[rule, line] : rows)
        EXPECT_EQ(lineOf(rule, monday), line) << rule;
}
