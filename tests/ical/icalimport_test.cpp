// Calendar items and the lines they import to, over every kind of rule the line language
// can say and the ones it cannot; and calendars that are broken or hostile.
#include "ical/eventtext.h"
#include "ical/icalimport.h"
#include "icaltesthelpers.h"

#include <gtest/gtest.h>

using namespace dvw;
using namespace dvw::test;

namespace {

std::string calendarOf(const std::string &items)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n" + items + "END:VCALENDAR\r\n";
}

std::string event(const std::string &properties)
{
    return "BEGIN:VEVENT\r\nUID:u\r\n" + properties + "END:VEVENT\r\n";
}

ImportResult imported(const std::string &text, TDate today = TDate(1, 3, 2026))
{
    ImportRequest request;
    request.today = today;
    request.categories = {{0x574F524Bu /* WORK */, "Work things"}};
    return ImportCalendar(text, request);
}

struct Row
{
    const char *properties; // of one VEVENT, each ended by LF (made CR LF here)
    std::vector<std::string> lines;
    bool expanded = false; // one line per date from today on
};

std::string crlf(std::string text)
{
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, "\r");
    return text;
}

// Today is Sunday 1 March 2026; the local zone is Europe/Berlin.
const Row eventRows[] = {
    {"DTSTART;VALUE=DATE:20260310\nSUMMARY:Day off\n", {"3/10/2026 Day off"}},
    {"DTSTART;VALUE=DATE:20260310\nDTEND;VALUE=DATE:20260313\nSUMMARY:Trip\n",
     {"3/10/2026 +2 Trip"}},
    {"DTSTART:20260305T093000\nDTEND:20260305T103000\nSUMMARY:Dentist\n",
     {"3/5/2026 9:30 A.M. Dentist"}},
    {"DTSTART:20260305T220000\nDTEND:20260307T000000\nSUMMARY:Late party\n",
     {"3/5/2026 +1 10:00 P.M. Late party"}},
    {"DTSTART:20260305T130000Z\nSUMMARY:In UTC\n", {"3/5/2026 2:00 P.M. In UTC"}},
    {"DTSTART;TZID=America/New_York:20260305T200000\nSUMMARY:New York evening\n",
     {"3/6/2026 2:00 A.M. New York evening"}},
    {"DTSTART;VALUE=DATE:20260302\nRRULE:FREQ=DAILY;INTERVAL=3\nSUMMARY:Every third\n",
     {"\\S3/2/2026 !3D Every third"}},
    {"DTSTART;VALUE=DATE:20260302\nRRULE:FREQ=DAILY;INTERVAL=2;BYDAY=MO,TU,WE,TH,FR\n"
     "SUMMARY:Weekdays\n",
     {"\\W\\S3/2/2026 !2D Weekdays"}},
    {"DTSTART:20260302T090000\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20260630T235959\n"
     "EXDATE:20260304T090000\nSUMMARY:Standup\n",
     {"\\S3/2/2026 \\E6/30/2026 \\X3/4/2026 !MON,WED 9:00 A.M. Standup"}},
    {"DTSTART;VALUE=DATE:20260303\nRRULE:FREQ=WEEKLY;INTERVAL=2\nSUMMARY:Fortnight\n",
     {"\\S3/3/2026 !2W Fortnight"}},
    {"DTSTART;VALUE=DATE:20260115\nRRULE:FREQ=MONTHLY\nSUMMARY:Rent\n", {"\\S1/15/2026 ?/15 Rent"}},
    {"DTSTART;VALUE=DATE:20260131\nRRULE:FREQ=MONTHLY;BYMONTHDAY=-1\nSUMMARY:Month end\n",
     {"\\S1/31/2026 ?/32 Month end"}},
    {"DTSTART;VALUE=DATE:20260110\nRRULE:FREQ=MONTHLY;INTERVAL=3\nSUMMARY:Quarterly\n",
     {"\\S1/10/2026 !3M Quarterly"}},
    {"DTSTART;VALUE=DATE:20260101\nRRULE:FREQ=MONTHLY;BYDAY=2TU;COUNT=5\nSUMMARY:Second "
     "Tuesday\n",
     {"\\S1/13/2026 \\E5/12/2026 !?2TUE Second Tuesday"}},
    {"DTSTART;VALUE=DATE:20260130\nRRULE:FREQ=MONTHLY;BYDAY=-1FR\nSUMMARY:Last Friday\n",
     {"\\S1/30/2026 !?5FRI Last Friday"}},
    {"DTSTART;VALUE=DATE:20260105\nRRULE:FREQ=MONTHLY;BYDAY=MO;BYSETPOS=1\nSUMMARY:First "
     "Monday\n",
     {"\\S1/5/2026 !?1MON First Monday"}},
    {"DTSTART;VALUE=DATE:19800704\nRRULE:FREQ=YEARLY\nSUMMARY:Fourth of July\n",
     {"\\S7/4/80 7/4 Fourth of July"}},
    {"DTSTART;VALUE=DATE:20240229\nRRULE:FREQ=YEARLY\nSUMMARY:Leap day\n",
     {"\\S2/29/2024 2/29 Leap day"}},
    {"DTSTART;VALUE=DATE:20260525\nRRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO\nSUMMARY:Memorial\n",
     {"\\S5/25/2026 !MAY5MON Memorial"}},
    {"DTSTART;VALUE=DATE:20260228\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1\nSUMMARY:End of "
     "February\n",
     {"\\S2/28/2026 2/32 End of February"}},
    {"DTSTART:20260305T100000\nSUMMARY:Alarm\nPRIORITY:4\nCATEGORIES:work things\n"
     "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT15M\nDESCRIPTION:x\nEND:VALARM\n",
     {"\\2\\(15)\\*WORK 3/5/2026 10:00 A.M. Alarm"}},
    {"DTSTART;VALUE=DATE:20260305\nSUMMARY:3 kings\n",
     {"3/5/2026 \xE2\x80\x8B"
      "3 kings"}},
    {"DTSTART;VALUE=DATE:20260305\nSUMMARY:+5 apples\n", {"3/5/2026 -0 +0 +5 apples"}},
    {"DTSTART;VALUE=DATE:20260305\nSUMMARY:Two\\nlines\n", {"3/5/2026 Two\nlines"}},
    // A zone that keeps Berlin's clock: the rule stays a rule.
    {"DTSTART;TZID=Europe/Paris:20260302T090000\nRRULE:FREQ=WEEKLY;BYDAY=MO\nSUMMARY:Paris\n",
     {"\\S3/2/2026 !MON 9:00 A.M. Paris"}},
    // New York moves its clocks three weeks before Berlin: the local time changes, so each
    // date gets its own line.
    {"DTSTART;TZID=America/New_York:20260302T090000\nRRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=6\n"
     "SUMMARY:NY\n",
     {"3/2/2026 3:00 P.M. NY", "3/9/2026 2:00 P.M. NY", "3/16/2026 2:00 P.M. NY",
      "3/23/2026 2:00 P.M. NY", "3/30/2026 3:00 P.M. NY", "4/6/2026 3:00 P.M. NY"},
     true},
    // Late in UTC is the next day in Berlin: Monday's rule would fall on Tuesdays.
    {"DTSTART:20260302T233000Z\nRRULE:FREQ=WEEKLY;COUNT=2\nSUMMARY:Late\n",
     {"3/3/2026 12:30 A.M. Late", "3/10/2026 12:30 A.M. Late"},
     true},
    // Rules the line language cannot say: one line per date from today on.
    {"DTSTART;VALUE=DATE:20260331\nRRULE:FREQ=MONTHLY;BYSETPOS=-1;BYDAY=MO,TU,WE,TH,FR;"
     "COUNT=3\nSUMMARY:Last workday\n",
     {"3/31/2026 Last workday", "4/30/2026 Last workday", "5/29/2026 Last workday"},
     true},
    {"DTSTART;VALUE=DATE:20260301\nRRULE:FREQ=MONTHLY;BYMONTHDAY=1,15;COUNT=4\nSUMMARY:Twice\n",
     {"3/1/2026 Twice", "3/15/2026 Twice", "4/1/2026 Twice", "4/15/2026 Twice"},
     true},
    {"DTSTART:20260302T080000\nRRULE:FREQ=HOURLY;INTERVAL=6;COUNT=3\nSUMMARY:Pills\n",
     {"3/2/2026 8:00 A.M. Pills", "3/2/2026 2:00 P.M. Pills", "3/2/2026 8:00 P.M. Pills"},
     true},
    {"DTSTART;VALUE=DATE:20260302\nRDATE;VALUE=DATE:20260305,20260309\nSUMMARY:Listed\n",
     {"3/2/2026 Listed", "3/5/2026 Listed", "3/9/2026 Listed"},
     true},
    {"DTSTART;VALUE=DATE:20200101\nRRULE:FREQ=YEARLY;INTERVAL=2;COUNT=5\nSUMMARY:Past every "
     "other year\n",
     {"1/1/2028 Past every other year"},
     true},
};

} // namespace

TEST(IcalImport, EachEventGivesItsLines)
{
    const LocalZone zone("Europe/Berlin");
    for (const Row &row : eventRows) {
        SCOPED_TRACE(row.properties);
        const ImportResult result = imported(calendarOf(event(crlf(row.properties))));
        ASSERT_TRUE(result.ok) << result.error;
        std::vector<std::string> wanted;
        for (const std::string &line : row.lines)
            wanted.push_back(line);
        EXPECT_EQ(result.lines, wanted);
        EXPECT_EQ(result.imported, 1);
        EXPECT_EQ(result.expanded, row.expanded ? 1 : 0);
    }
}

TEST(IcalImport, ToDosBecomeNotesDoneWhenCompleted)
{
    const ImportResult result = imported(calendarOf(
        crlf("BEGIN:VTODO\nUID:t1\nSUMMARY:Buy milk\nPRIORITY:1\nEND:VTODO\n"
             "BEGIN:VTODO\nUID:t2\nSUMMARY:9:00 not a time here\nSTATUS:COMPLETED\nEND:VTODO\n"
             "BEGIN:VTODO\nUID:t3\nSUMMARY:Filed\nCATEGORIES:WORK\nPERCENT-COMPLETE:100\n"
             "END:VTODO\n")));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(
        result.lines,
        (std::vector<std::string> {"\\1* Buy milk", ">* 9:00 not a time here", ">*WORK Filed"}));
}

TEST(IcalImport, CarriedLinesComeBackInTheirOrderBeforeTheOthers)
{
    const ImportResult result = imported(calendarOf(
        crlf(event("DTSTART;VALUE=DATE:20260305\nSUMMARY:Foreign\n")
             + "BEGIN:VEVENT\nUID:b\nDTSTART;VALUE=DATE:20260301\nX-DAYVANE-LINE:second\\, with "
               "a comma\nX-DAYVANE-LINE-NUMBER:7\nEND:VEVENT\n"
             + "BEGIN:VJOURNAL\nUID:c\nX-DAYVANE-LINE:\\\\C HOME=Home\nX-DAYVANE-LINE-NUMBER:2\n"
               "END:VJOURNAL\n"
             + "BEGIN:VTODO\nUID:d\nX-DAYVANE-LINE;X-DAYVANE-BYTES=HEX:2A0762656C6C\n"
               "X-DAYVANE-LINE-NUMBER:3\nEND:VTODO\n")));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.lines,
              (std::vector<std::string> {"\\C HOME=Home",
                                         "*\x07"
                                         "bell",
                                         "second, with a comma", "3/5/2026 Foreign"}));
    EXPECT_EQ(result.imported, 4);
}

TEST(IcalImport, AMovedOccurrenceLeavesTheSeriesAndACancelledOneIsLeftOut)
{
    const LocalZone zone("Europe/Berlin");
    const ImportResult result = imported(calendarOf(crlf(
        "BEGIN:VEVENT\nUID:s\nDTSTART:20260302T090000\nRRULE:FREQ=WEEKLY;COUNT=4\nSUMMARY:Sync\n"
        "END:VEVENT\n"
        "BEGIN:VEVENT\nUID:s\nRECURRENCE-ID:20260309T090000\nDTSTART:20260310T140000\n"
        "SUMMARY:Sync moved\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:s\nRECURRENCE-ID:20260316T090000\nDTSTART:20260316T090000\n"
        "STATUS:CANCELLED\nSUMMARY:Sync\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:lone\nDTSTART:20260316T090000\nSTATUS:CANCELLED\nSUMMARY:Off\n"
        "END:VEVENT\n")));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.lines,
              (std::vector<std::string> {
                  "\\S3/2/2026 \\E3/23/2026 \\X3/16/2026 \\X3/9/2026 !MON 9:00 A.M. Sync",
                  "3/10/2026 2:00 P.M. Sync moved"}));
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.skipped, 1);
}

namespace {

struct BadRow
{
    const char *name;
    std::string text;
    const char *error; // empty: the calendar is read
};

std::string bigDescription()
{
    return calendarOf(event("DTSTART;VALUE=DATE:20260305\r\nSUMMARY:" + std::string(10 << 20, 'x')
                            + "\r\nDESCRIPTION:" + std::string(10 << 20, 'y') + "\r\n"));
}

} // namespace

TEST(IcalImport, BrokenCalendarsAreRefusedWithTheirLine)
{
    const BadRow bad[] = {
        {"empty", "", "not an iCalendar file"},
        {"plain text", "hello\nworld\n", "line 1: not an iCalendar line: hello"},
        {"truncated", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20260305\r\n",
         "line 2: BEGIN:VEVENT is never ended"},
        {"unreadable start", calendarOf(event("DTSTART:2026garbage\r\n")),
         "line 6: cannot read DTSTART: 2026garbage"},
        {"unreadable rule", calendarOf(event("DTSTART:20260305\r\nRRULE:FREQ=SOMETIMES\r\n")),
         "line 7: cannot read RRULE"},
        {"a line without a name", calendarOf(event("DTSTART:20260305\r\njust words\r\n")),
         "line 7: not an iCalendar line: just words"},
        {"crossed ends", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\n",
         "line 3: END:VTODO closes nothing that was begun"},
        {"a NUL byte", std::string("BEGIN:VCALENDAR\r\nSUMMARY:a\0b\r\n", 30),
         "line 2: a NUL byte"},
        {"folded lines count", calendarOf(event("SUMMARY:a\r\n b\r\n c\r\nDTSTART:bad\r\n")),
         "line 9: cannot read DTSTART"},
    };
    for (const BadRow &row : bad) {
        SCOPED_TRACE(row.name);
        const ImportResult result = imported(row.text);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.lines.empty());
        EXPECT_NE(result.error.find(row.error), std::string::npos) << result.error;
    }
}

TEST(IcalImport, OddButReadableCalendarsGiveABoundedResult)
{
    const LocalZone zone("Europe/Berlin");
    struct Case
    {
        const char *name;
        std::string text;
        std::size_t lines;
        int skipped;
        const char *note;
    };
    const Case cases[] = {
        {"unknown properties",
         calendarOf(event("DTSTART;VALUE=DATE:20260305\r\nX-FOO;A=B:c\r\nFOO-BAR:baz\r\n"
                          "SUMMARY:x\r\n")),
         1, 0, ""},
        {"ten-megabyte texts", bigDescription(), 1, 0, ""},
        {"a count of a billion",
         calendarOf(event("DTSTART;VALUE=DATE:20260305\r\nRRULE:FREQ=DAILY;COUNT=1000000000\r\n")),
         1, 0, ""},
        {"a billion weekly Mondays and Fridays",
         calendarOf(event("DTSTART;VALUE=DATE:20260302\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,FR;"
                          "COUNT=1000000000\r\n")),
         209, 0, ""},
        {"a zone that does not exist",
         calendarOf(event("DTSTART;TZID=Mars/Olympus:20260305T100000\r\n")), 1, 0,
         "unknown time zone \"Mars/Olympus\""},
        {"a zone path", calendarOf(event("DTSTART;TZID=../../etc/passwd:20260305T100000\r\n")), 1,
         0, "unknown time zone"},
        {"every minute",
         calendarOf(event("DTSTART:20260305T100000\r\nRRULE:FREQ=MINUTELY;BYMONTH=2;"
                          "BYMONTHDAY=30\r\n")),
         0, 1, "more often than every hour"},
        {"hourly on a day that never comes",
         calendarOf(event("DTSTART:20260305T100000\r\nRRULE:FREQ=HOURLY;BYMONTH=2;"
                          "BYMONTHDAY=30\r\n")),
         0, 1, "no date from 2026-03-01"},
        {"every hour for years",
         calendarOf(event("DTSTART:20260305T100000\r\nRRULE:FREQ=HOURLY\r\n")), 1000, 0,
         "only its first 1000"},
        {"yearly on a day that never comes",
         calendarOf(event("DTSTART;VALUE=DATE:20260305\r\nRRULE:FREQ=YEARLY;BYMONTH=2;"
                          "BYMONTHDAY=30\r\n")),
         0, 1, "gives no date"},
        {"a rule libical refuses",
         calendarOf(event("DTSTART;VALUE=DATE:20260305\r\nRRULE:FREQ=WEEKLY;BYMONTHDAY=3\r\n")), 0,
         1, "cannot expand"},
        {"no start", calendarOf(event("SUMMARY:x\r\n")), 0, 1, "no start"},
        {"a free-busy block",
         calendarOf("BEGIN:VFREEBUSY\r\nUID:f\r\nDTSTART:20260305T100000Z\r\nEND:VFREEBUSY\r\n"), 0,
         1, "VFREEBUSY has no place"},
        {"a bare event", event("DTSTART;VALUE=DATE:20260305\r\nSUMMARY:x\r\n"), 1, 0, ""},
        {"its one date left out",
         calendarOf(event("DTSTART;VALUE=DATE:20260305\r\nEXDATE;VALUE=DATE:20260305\r\n")), 0, 1,
         "left out"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = imported(c.text);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.lines.size(), c.lines);
        EXPECT_EQ(result.skipped, c.skipped);
        std::string notes;
        for (const std::string &n : result.notes)
            notes += n + "\n";
        EXPECT_NE(notes.find(c.note), std::string::npos) << notes;
        for (const std::string &line : result.lines)
            EXPECT_LE(line.size(), maxSummaryBytes + 100);
    }
}
