#include "core/linereader.h"
#include "edit/apptform.h"
#include "edit/apptreading.h"

#include <gtest/gtest.h>

#include <string>

using namespace dvw;

TEST(ApptReading, SaysWhatTheLineMeans)
{
    struct Case
    {
        std::string line;
        std::string reading;
    };
    const Case cases[] = {
        {"\\S1/4/2027 \\2!2W -3 x",
         "every 2nd week on Monday from 4 January 2027, warned 3 days ahead, priority 2"},
        {"3/5/99 9:00 am Dentist", "on 5 March 1999, at 9:00"},
        {"3/5/99 +2 Trip", "on 5 March 1999 and the 2 days following"},
        {"\\B3/5/60 Ann (  )", "a birthday every year on 5 of March, born 1960"},
        {"?/15 Pay rent", "day 15 of every month"},
        {"?/15/99 Pay rent", "day 15 of every month of 1999"},
        {"3/32 x", "every year on the last day of March"},
        {"!mon, wed Gym", "every Monday, Wednesday"},
        {"!MAR3MON>1 x", "the 3rd Monday of March, 1 day later"},
        {"!?5FRI x", "the last Friday of every month"},
        {"!NOV4THU<2 x", "the 4th Thursday of November, 2 days earlier"},
        {"!1D x", "every day"},
        {"!0D x", "every 0th day (a count of 0 gives no days)"},
        {"!11M x", "every 11th month"},
        {"*WORK x", "a note, category WORK"},
        {"Hello", "no schedule: all free text, shown nowhere"},
        {"\\C WORK=3 Work", "a category definition"},
        {">\\(15)\\N\\H\\~\\W\\U\\P\\D3/5/99 \\X3/6/99 3/5 x",
         "every year on 5 of March, alarm 15 minutes ahead, nagging until done, a holiday, "
         "Saturdays shown on Friday, Sundays on Monday, weekdays only, unimportant, not "
         "printed, done, 1 date done, 1 date left out"},
        {"2/30/99 x", "on a day the calendar does not have"},
    };
    SimpleReadContext context;
    for (const Case &c : cases)
        EXPECT_EQ(ReadingOf(c.line, context), c.reading) << c.line;
}

TEST(ApptReading, NextDatesFromTheDayGiven)
{
    struct Case
    {
        std::string line;
        int count;
        std::string next;
    };
    const TDate from(7, 12, 2026); // a Monday
    const Case cases[] = {
        {"!mon, wed x", 3, "Next: Mon 7 Dec 2026, Wed 9 Dec 2026, Mon 14 Dec 2026"},
        {"12/25 +1 x", 3, "Next: Fri 25 Dec 2026, Sat 26 Dec 2026, Sat 25 Dec 2027"},
        {"\\D12/8/2026 !1D x", 2, "Next: Mon 7 Dec 2026, Tue 8 Dec 2026 (done)"},
        {"3/5/99 x", 5, "No days in the next ten years."},
        {"2/30 x", 5, "No days in the next ten years."},
        {"* x", 5, ""},
        {"12/8/2026 x", 0, "No days in the next ten years."},
    };
    SimpleReadContext context;
    for (const Case &c : cases)
        EXPECT_EQ(NextDatesOf(c.line, context, from, c.count), c.next) << c.line;
}

// Whatever the user types or the file holds, the dialog neither fails nor loses text.
TEST(ApptForm, BadInputIsTakenWithoutLoss)
{
    const std::string longDates = [] {
        std::string text;
        while (text.size() < 40 * 1024)
            text += "1/1/27, ";
        return text;
    }();
    const std::string hugeText(1024 * 1024, 'x');
    struct Case
    {
        const char *name;
        std::string line;
        std::function<void(ApptForm &)> edit;
        std::string expected; // the line OK gives
    };
    const auto set = [](std::string FormControls::*field, std::string text) {
        return [field, text](ApptForm &f) { f.controls().*field = text; };
    };
    const Case cases[] = {
        {"overflowing alarm", "3/5/99 x", set(&FormControls::alarmAdvance, "99999999999"),
         "\\(2147483647)3/5/99 x"},
        {"negative warning", "3/5/99 x", set(&FormControls::warnDays, "-2"), "3/5/99 x"},
        {"letters as days", "3/5/99 x", set(&FormControls::showFollowing, "abc"), "3/5/99 x"},
        {"overflowing count", "!2D x", set(&FormControls::count, "99999999999"), "!2147483647D x"},
        {"letters as count", "!2D x", set(&FormControls::count, "abc"), "!1D x"},
        {"overflowing offset", "!MAR3MON x", set(&FormControls::offset, "-99999999999"),
         "!MAR3MON<2147483647 x"},
        {"impossible day spun", "3/5/99 x",
         [](ApptForm &f) {
             f.controls().mainDate = "2/30/99";
             f.spin(ApptForm::DateField::Main, 1);
         },
         "12/7/2026 x"},
        {"impossible day kept", "3/5/99 x", set(&FormControls::mainDate, "2/30/99"), "2/30/99 x"},
        {"40 KB of done dates", "!1D x", set(&FormControls::doneDates, longDates), ""},
        {"no-break space and 1252 bytes", "3/5/99 x",
         set(&FormControls::text,
             "a\xa0"
             "b \x80\x93 c"),
         "3/5/99 a\xa0"
         "b \x80\x93 c"},
        {"lone CR", "3/5/99 x", set(&FormControls::text, "a\rb\r\nc"), "3/5/99 a\rb\r\nc"},
        {"empty line", "", [](ApptForm &) {}, ""},
        {"emptied text", "3/5/99 x", set(&FormControls::text, ""), "3/5/99 "},
        {"1 MB line", "3/5/99 x", set(&FormControls::text, hugeText), "3/5/99 " + hugeText},
    };
    for (const Case &c : cases) {
        SimpleReadContext context;
        ApptForm form({&context, TDate(7, 12, 2026), {}}, c.line, TDate(9, 3, 1999), true);
        c.edit(form);
        form.accept();
        if (!c.expected.empty() || c.line.empty()) {
            EXPECT_EQ(form.line(), c.expected) << c.name;
        }
        TimeString read(form.line());
        ApptInfo info;
        LineDates dates;
        ReadAppt(info, context, read, dates);
        if (std::string(c.name) == "40 KB of done dates") {
            EXPECT_EQ(dates.done.size(), longDates.size() / 8) << c.name;
        }
        // The same text typed into the reduced box is kept byte for byte.
        ApptForm reduced({&context, TDate(7, 12, 2026), {}}, c.line, TDate(9, 3, 1999), false);
        reduced.controls().text = form.line();
        reduced.accept();
        EXPECT_EQ(reduced.line(), form.line()) << c.name;
    }
}
