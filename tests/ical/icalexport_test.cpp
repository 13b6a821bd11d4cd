// Lines and the calendar items they export to: every kind of rule, the exact and the listed
// forms, spans, alarms, categories and priorities, and the line carried unchanged.
#include "ical/icalexport.h"
#include "icaltesthelpers.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace dvw;
using namespace dvw::test;

namespace {

struct Row
{
    const char *line;
    std::vector<std::string> has; // content lines of its item, unfolded
    std::vector<std::string> lacks; // property names it must not have
};

// The window of the table: Sunday 1 March 2026 for 60 days.
const Row rows[] = {
    {"\\C WORK=Work things",
     {"BEGIN:VJOURNAL", "X-DAYVANE-LINE:\\\\C WORK=Work things"},
     {"DTSTART"}},
    {"3/5/2026 9:00 am Dentist",
     {"SUMMARY:Dentist", "DTSTART:20260305T090000"},
     {"DTEND", "RRULE", "BEGIN:VALARM"}},
    {"3/10/2026 +2 Trip", {"DTSTART;VALUE=DATE:20260310", "DTEND;VALUE=DATE:20260313"}, {"RRULE"}},
    {"3/10/2026 +2 9:00 Timed trip",
     {"DTSTART:20260310T090000", "RRULE:FREQ=DAILY;COUNT=3"},
     {"DTEND"}},
    {"\\X3/11/2026 3/10/2026 +3 Gap",
     {"DTSTART;VALUE=DATE:20260310", "RDATE;VALUE=DATE:20260312", "RDATE;VALUE=DATE:20260313"},
     {"DTEND", "DESCRIPTION"}},
    {"\\~3/7/2026 Saturday moves to Friday", {"DTSTART;VALUE=DATE:20260306"}, {"RRULE"}},
    {"?/15/2026 This year's rent",
     {"DTSTART;VALUE=DATE:20260315", "RRULE:FREQ=MONTHLY;UNTIL=20261231;BYMONTHDAY=15"},
     {}},
    // From the last date that could reach into the window (its day before counts).
    {"?/32 Month end", {"DTSTART;VALUE=DATE:20260228", "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1"}, {}},
    {"3/20 Spring",
     {"DTSTART;VALUE=DATE:20260320", "RRULE:FREQ=YEARLY;BYMONTHDAY=20;BYMONTH=3"},
     {}},
    {"\\B4/2/60 Ann",
     {"DTSTART;VALUE=DATE:20260402", "RRULE:FREQ=YEARLY;BYMONTHDAY=2;BYMONTH=4"},
     {}},
    {"!3D Every third day", {"DTSTART;VALUE=DATE:20260301", "RRULE:FREQ=DAILY;INTERVAL=3"}, {}},
    {"\\S2/3/2026 !2W Fortnight",
     {"DTSTART;VALUE=DATE:20260203", "RRULE:FREQ=WEEKLY;INTERVAL=2"},
     {}},
    {"\\S1/31/2026 !1M From the end of January",
     {"DTSTART;VALUE=DATE:20260131", "RRULE:FREQ=MONTHLY"},
     {}},
    {"!TUE,thu Gym", {"DTSTART;VALUE=DATE:20260303", "RRULE:FREQ=WEEKLY;BYDAY=TU,TH"}, {}},
    {"!?2MON Second Monday", {"DTSTART;VALUE=DATE:20260309", "RRULE:FREQ=MONTHLY;BYDAY=2MO"}, {}},
    {"!MAY5MON Memorial",
     {"DTSTART;VALUE=DATE:20260525", "RRULE:FREQ=YEARLY;BYDAY=-1MO;BYMONTH=5"},
     {}},
    {"!MAR3MON>1 The day after",
     {"DTSTART;VALUE=DATE:20260317",
      "DESCRIPTION:Dayvane lists the days of this appointment from 2026-03-01 to 2026-04-29 one "
      "by one: iCalendar cannot state how it repeats."},
     {"RRULE", "RDATE"}},
    {"?/20 -3 Warned ahead",
     {"DTSTART;VALUE=DATE:20260320", "RDATE;VALUE=DATE:20260420"},
     {"RRULE"}},
    // Counted from 1 March: the Sunday and the Saturday 21 March are left out.
    {"\\W!5D Weekdays only",
     {"DTSTART;VALUE=DATE:20260306", "RDATE;VALUE=DATE:20260311", "RDATE;VALUE=DATE:20260326"},
     {"RRULE"}},
    {"\\X3/15/2026 ?/15 Not in March",
     {"DTSTART;VALUE=DATE:20260315", "RRULE:FREQ=MONTHLY;BYMONTHDAY=15",
      "EXDATE;VALUE=DATE:20260315"},
     {}},
    {"\\S3/1/2026 \\E3/31/2026 !1D March",
     {"DTSTART;VALUE=DATE:20260301", "RRULE:FREQ=DAILY;UNTIL=20260331"},
     {}},
    {"\\S3/1/2026 \\E3/31/2026 !1D 7:00 March mornings",
     {"DTSTART:20260301T190000", "RRULE:FREQ=DAILY;UNTIL=20260331T235959"},
     {}},
    {"\\*WORK \\2 3/5/2026 Work thing", {"CATEGORIES:Work things", "PRIORITY:3"}, {}},
    {"\\*HOME 3/5/2026 Undefined category", {"CATEGORIES:HOME"}, {"PRIORITY"}},
    {"\\(15)3/7/2026 10:30 Meeting", {"TRIGGER:-PT15M", "ACTION:DISPLAY"}, {}},
    {"* A note", {"BEGIN:VTODO", "SUMMARY:A note"}, {"STATUS", "DTSTART"}},
    {">*WORK Done note",
     {"BEGIN:VTODO", "SUMMARY:Done note", "STATUS:COMPLETED", "CATEGORIES:Work things"},
     {}},
    {"2/30/2026 A day the calendar lacks",
     {"DTSTART;VALUE=DATE:20260301", "EXDATE;VALUE=DATE:20260301"},
     {"RRULE"}},
    {"!mon +1 9:00 Timed with a following day",
     {"DTSTART:20260302T090000", "RDATE:20260303T090000"},
     {"RRULE"}},
    {"3/5/2026 9:00 Two\r\nlines", {"SUMMARY:Two", "DESCRIPTION:lines"}, {}},
    {"?/15 +1 Two days each",
     {"DTEND;VALUE=DATE:20260317", "RRULE:FREQ=MONTHLY;BYMONTHDAY=15"},
     {}},
    {"3/5/2026 bell\x07",
     {"X-DAYVANE-LINE;X-DAYVANE-BYTES=HEX:332F352F3230323620626"
      "56C6C07"},
     {}},
    {"\\N3/1/2026 Nagging", {"DTSTART;VALUE=DATE:20260301"}, {"RRULE", "RDATE"}},
    {"Just text", {"BEGIN:VJOURNAL"}, {"SUMMARY"}},
};

std::vector<std::string> contentLines(icalcomponent *c)
{
    std::string text = takeIcalString(icalcomponent_as_ical_string_r(c));
    for (std::size_t at = text.find("\r\n "); at != std::string::npos; at = text.find("\r\n "))
        text.erase(at, 3);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::map<int, icalcomponent *> itemsByLine(icalcomponent *calendar)
{
    std::map<int, icalcomponent *> byLine;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT))
        byLine[std::stoi(xValue(c, "X-DAYVANE-LINE-NUMBER"))] = c;
    return byLine;
}

std::string exported(const std::vector<std::string> &lines, bool listed = false)
{
    const TDate start(1, 3, 2026);
    auto doc = documentOf(lines, start, 60);
    ExportRequest request;
    request.today = start;
    request.first = start;
    request.last = doc->window().end;
    request.listed = listed;
    return ExportCalendar(*doc, request);
}

} // namespace

TEST(IcalExport, EachLineGivesItsItemWithItsProperties)
{
    std::vector<std::string> lines;
    for (const Row &row : rows)
        lines.emplace_back(row.line);
    const ComponentPtr calendar = parsed(exported(lines));
    ASSERT_NE(calendar, nullptr);
    const std::map<int, icalcomponent *> items = itemsByLine(calendar.get());
    ASSERT_EQ(items.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(rows[i].line);
        const std::vector<std::string> content = contentLines(items.at(static_cast<int>(i)));
        for (const std::string &wanted : rows[i].has)
            EXPECT_NE(std::find(content.begin(), content.end(), wanted), content.end()) << wanted;
        for (const std::string &name : rows[i].lacks) {
            for (const std::string &line : content)
                EXPECT_NE(line.rfind(name, 0), 0u) << line;
        }
    }
}

TEST(IcalExport, TheCalendarNamesItsMakerAndVersionAndLeavesDeletedLinesOut)
{
    const std::string text = exported({"~3/5/2026 deleted", "3/6/2026 kept"});
    EXPECT_EQ(text.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Dayvane//Dayvane ", 0), 0u);
    const ComponentPtr calendar = parsed(text);
    const std::vector<icalcomponent *> events = itemsOf(calendar.get(), ICAL_VEVENT_COMPONENT);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(xValue(events[0], "X-DAYVANE-LINE-NUMBER"), "1");
    const std::string uid = icalcomponent_get_uid(events[0]);
    EXPECT_EQ(uid.size(), 26u);
    EXPECT_EQ(uid.substr(16), "-0@dayvane");
}

TEST(IcalExport, ExpandListsEveryRuleInTheWindowButKeepsSingleDates)
{
    const ComponentPtr calendar
        = parsed(exported({"?/15 Rent", "3/10/2026 +2 Trip", "!3D Often"}, true));
    const std::map<int, icalcomponent *> items = itemsByLine(calendar.get());
    const std::vector<std::string> rent = contentLines(items.at(0));
    EXPECT_NE(std::find(rent.begin(), rent.end(), "RDATE;VALUE=DATE:20260415"), rent.end());
    for (const auto &[line, item] : items) {
        for (const std::string &content : contentLines(item))
            EXPECT_NE(content.rfind("RRULE", 0), 0u) << line;
    }
    const std::vector<std::string> trip = contentLines(items.at(1));
    EXPECT_NE(std::find(trip.begin(), trip.end(), "DTEND;VALUE=DATE:20260313"), trip.end());
    const std::vector<std::string> often = contentLines(items.at(2));
    EXPECT_EQ(std::count_if(often.begin(), often.end(),
                            [](const std::string &l) { return l.rfind("RDATE", 0) == 0; }),
              19); // 1 March, then every third day to 28 April
}

TEST(IcalExport, IdenticalLinesGetDistinctIdentifiers)
{
    const ComponentPtr calendar = parsed(exported({"3/5/2026 x", "3/5/2026 x"}));
    const std::vector<icalcomponent *> events = itemsOf(calendar.get(), ICAL_VEVENT_COMPONENT);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NE(std::string(icalcomponent_get_uid(events[0])), icalcomponent_get_uid(events[1]));
}

// A large file is written in runs of lines on several cores: the items still come in file
// order, and equal lines in different runs still get distinct identifiers.
TEST(IcalExport, ALargeFileKeepsItsOrderAcrossRuns)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 9000; ++i)
        lines.push_back(i % 3 == 0 ? "?/15 Same line" : "3/5/2026 Line " + std::to_string(i));
    const ComponentPtr calendar = parsed(exported(lines));
    std::vector<int> numbers;
    std::set<std::string> uids;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar.get(), ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar.get(), ICAL_ANY_COMPONENT)) {
        numbers.push_back(std::stoi(xValue(c, "X-DAYVANE-LINE-NUMBER")));
        uids.insert(icalcomponent_get_uid(c));
    }
    ASSERT_EQ(numbers.size(), lines.size());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        ASSERT_EQ(numbers[i], static_cast<int>(i));
    EXPECT_EQ(uids.size(), lines.size());
}
