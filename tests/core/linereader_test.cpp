#include "core/category.h"
#include "core/linereader.h"

#include <gtest/gtest.h>

#include <string>

using namespace dvw;

namespace {

std::uint32_t code(const char *text)
{
    std::string s = text;
    TextCursor cursor {s, 0};
    return PackCategory(cursor);
}

struct Read
{
    TimeString line;
    ApptInfo info;
    std::string freeText() const
    {
        return line.text.substr(static_cast<std::size_t>(line.textStart));
    }
};

Read read(const std::string &text, SimpleReadContext &doc)
{
    Read r {TimeString(text), ApptInfo()};
    ReadAppt(r.info, doc, r.line);
    return r;
}

Read read(const std::string &text)
{
    SimpleReadContext doc;
    return read(text, doc);
}

} // namespace

TEST(ReadAppt, SingleAppointmentWithTime)
{
    const Read r = read("3/5/99 9:00 am Dentist");
    EXPECT_EQ(r.info.kind, Single);
    EXPECT_EQ(r.line.kind, Single);
    EXPECT_EQ(r.info.mainDate, TDate(5, 3, 1999));
    EXPECT_EQ(r.line.time, 540);
    EXPECT_EQ(r.info.time, 540);
    EXPECT_EQ(r.line.sortKey, 767717);
    EXPECT_EQ(r.line.textStart, 7);
    EXPECT_EQ(r.freeText(), "9:00 am Dentist");
    EXPECT_EQ(r.info.scheduleStart, 0);
    EXPECT_EQ(r.info.scheduleEnd, 7);
}

TEST(ReadAppt, DateKindsAndTheirSortKeys)
{
    const Read anniversary = read("3/5 Mother's day");
    EXPECT_EQ(anniversary.info.kind, Anniversary);
    EXPECT_EQ(anniversary.info.mainDate.flags, TDate::NoYear);
    EXPECT_EQ(anniversary.line.sortKey, 101);

    const Read monthly = read("?/15 Pay rent");
    EXPECT_EQ(monthly.info.kind, Monthly);
    EXPECT_EQ(monthly.line.sortKey, 47);

    const Read inYear = read("?/15/99 -2 9:00 Pay rent");
    EXPECT_EQ(inYear.info.kind, MonthlyInYear);
    EXPECT_EQ(inYear.info.warnDays, 2);
    EXPECT_EQ(inYear.line.time, 540);
    EXPECT_EQ(inYear.line.sortKey, 99 * 32 + 15);

    const Read lastDay = read("3/32 Last day of March");
    EXPECT_EQ(lastDay.info.kind, Anniversary);
    EXPECT_TRUE(lastDay.info.mainDate.hasFlag(TDate::LastDay));
    EXPECT_EQ(lastDay.info.mainDate.DayOfMonth(), 31u);

    // A full date with day 32 is no schedule; its text stays free text in full.
    const Read fullLastDay = read("3/32/99");
    EXPECT_EQ(fullLastDay.info.kind, Unscheduled);
    EXPECT_EQ(fullLastDay.freeText(), "3/32/99");
}

TEST(ReadAppt, BirthdayCarriesItsDate)
{
    const Read r = read("\\B3/5/60 Ann (  )");
    EXPECT_EQ(r.info.kind, Birthday);
    EXPECT_EQ(r.line.birthDate, TDate(5, 3, 1960));
    EXPECT_EQ(r.info.mainDate, TDate(5, 3, 1960));
    EXPECT_EQ(r.line.sortKey, 101);
    EXPECT_EQ(r.freeText(), "Ann (  )");

    // Text behind the birth date that looks like a schedule stays free text.
    const Read withDate = read("\\B3/5/60 -2 4/6 party");
    EXPECT_EQ(withDate.info.kind, Birthday);
    EXPECT_EQ(withDate.info.warnDays, 2);
    EXPECT_EQ(withDate.freeText(), "4/6 party");
}

TEST(ReadAppt, RepeatRules)
{
    const Read weeks = read("!2W Team meeting");
    EXPECT_EQ(weeks.info.kind, EveryNWeeks);
    EXPECT_EQ(weeks.info.n, 2);
    EXPECT_EQ(weeks.freeText(), "Team meeting");
    EXPECT_EQ(read("!3d x").info.kind, EveryNDays);
    EXPECT_EQ(read("!1M x").info.kind, EveryNMonths);

    const Read gym = read("!mon, wed Gym");
    EXPECT_EQ(gym.info.kind, WeeklyOnDays);
    EXPECT_TRUE(gym.info.weekdays[1]);
    EXPECT_TRUE(gym.info.weekdays[3]);
    EXPECT_FALSE(gym.info.weekdays[0]);
    EXPECT_EQ(gym.info.weekday, 3);
    EXPECT_EQ(gym.line.sortKey, 1);
    EXPECT_EQ(gym.freeText(), "Gym");

    const Read nth = read("!MAR3MON>1 Holiday after");
    EXPECT_EQ(nth.info.kind, NthWeekdayOfMonth);
    EXPECT_EQ(nth.info.month, 3);
    EXPECT_EQ(nth.info.n, 3);
    EXPECT_EQ(nth.info.weekday, 1);
    EXPECT_EQ(nth.info.offset, 1);
    EXPECT_EQ(nth.line.sortKey, 3);

    const Read last = read("!?5FRI Last Friday");
    EXPECT_EQ(last.info.kind, NthWeekdayOfMonth);
    EXPECT_EQ(last.info.month, 0);
    EXPECT_EQ(last.info.n, 5);
    EXPECT_EQ(last.info.weekday, 5);
    EXPECT_EQ(read("!NOV4THU<2 x").info.offset, -2);
}

TEST(ReadAppt, RulesThatDoNotReadKeepAllTheirText)
{
    for (const char *text : {"!3 cats", "!xyz", "!MAR x", "!MAR3 x", "!", "3/32/99 x"}) {
        const Read r = read(text);
        EXPECT_EQ(r.info.kind, Unscheduled) << text;
        EXPECT_EQ(r.freeText(), text) << text;
    }
}

TEST(ReadAppt, NotesAndTheirCategories)
{
    const Read plain = read("* Buy milk");
    EXPECT_EQ(plain.info.kind, Note);
    EXPECT_EQ(plain.info.category, 0u);
    EXPECT_EQ(plain.freeText(), "Buy milk");

    SimpleReadContext doc;
    doc.setCategoryColour(code("WORK"), 5);
    const Read work = read("*WORK Call back", doc);
    EXPECT_EQ(work.info.kind, Note);
    EXPECT_EQ(work.line.category, code("WORK"));
    EXPECT_EQ(work.line.shade, 5);
    EXPECT_EQ(work.freeText(), "Call back");

    const Read bare = read("*");
    EXPECT_EQ(bare.info.kind, Note);
    EXPECT_EQ(bare.info.category, 0x20202020u);
}

TEST(ReadAppt, CodesAndMarks)
{
    const Read tax = read(">\\N3/5/99 -3 Tax return");
    EXPECT_TRUE(tax.info.completed);
    EXPECT_TRUE(tax.info.nag);
    EXPECT_EQ(tax.info.kind, Single);
    EXPECT_EQ(tax.info.warnDays, 3);

    const Read xmas = read("\\2\\H12/25 +1 Christmas");
    EXPECT_EQ(xmas.info.priority, 2);
    EXPECT_EQ(xmas.line.shade, 0x82);
    EXPECT_TRUE(xmas.info.holiday);
    EXPECT_TRUE(xmas.line.holiday);
    EXPECT_EQ(xmas.info.kind, Anniversary);
    EXPECT_EQ(xmas.info.showFollowing, 1);

    EXPECT_EQ(read("3/5/99 +2 Trip").info.kind, SingleShowFollowing);

    const Read lower = read("\\h\\p3/5 x");
    EXPECT_TRUE(lower.info.holiday);
    EXPECT_TRUE(lower.info.noPrint);
    EXPECT_TRUE(lower.line.noPrint);

    const Read many = read("\\~\\I\\(15)\\W\\U\\L\\Q\\S1/1/99 \\E12/31/99 !1W x");
    EXPECT_TRUE(many.info.observed);
    EXPECT_EQ(many.info.priority, 1);
    EXPECT_EQ(many.info.alarmAdvance, 15);
    EXPECT_EQ(many.line.alarmAdvance, 15);
    EXPECT_TRUE(many.info.weekdaysOnly);
    EXPECT_TRUE(many.info.unimportant);
    EXPECT_TRUE(many.info.markL);
    EXPECT_TRUE(many.info.hasStart);
    EXPECT_EQ(many.info.startDate, TDate(1, 1, 1999));
    EXPECT_EQ(many.info.endDate, TDate(31, 12, 1999));
    EXPECT_EQ(many.info.kind, EveryNWeeks);
}

TEST(ReadAppt, DoneAndExcludedDatesGoToTheDocumentLists)
{
    SimpleReadContext doc;
    const Read r = read("\\*HOME \\D3/12/99 \\D3/5/99 \\X4/1/99 !1W Clean", doc);
    EXPECT_EQ(r.info.category, code("HOME"));
    EXPECT_EQ(r.info.kind, EveryNWeeks);
    EXPECT_TRUE(r.info.done);
    EXPECT_TRUE(r.info.hasExcluded);
    ASSERT_EQ(doc.doneDates().size(), 2u);
    EXPECT_EQ(doc.doneDates()[0], TDate(5, 3, 1999));
    EXPECT_EQ(doc.doneDates()[1], TDate(12, 3, 1999));
    ASSERT_EQ(doc.excludedDates().size(), 1u);

    read("Hello", doc);
    EXPECT_TRUE(doc.doneDates().empty());
    EXPECT_TRUE(doc.excludedDates().empty());

    const Read undated = read("\\D !1W x", doc);
    EXPECT_TRUE(undated.info.done);
    EXPECT_TRUE(doc.doneDates().empty());
}

TEST(ReadAppt, OffsetMovesTheDate)
{
    const Read late = read("3/5/99 >2 Late");
    EXPECT_EQ(late.info.kind, Single);
    EXPECT_EQ(late.info.mainDate, TDate(7, 3, 1999));
    EXPECT_EQ(late.info.offset, 2);
    EXPECT_EQ(late.line.sortKey, 1999 * 384 + 3 * 32 + 7);
    EXPECT_EQ(late.freeText(), "Late");

    const Read early = read("3/1/99 <1 x");
    EXPECT_EQ(early.info.mainDate, TDate(28, 2, 1999));

    // An impossible day stays without a day number whatever the offset.
    EXPECT_EQ(read("2/30/99 >3 x").info.mainDate.dayNumber, 0u);
}

TEST(ReadAppt, LeadingBlanksHideCodesButNotSchedules)
{
    const Read codes = read("  \\H3/5 x");
    EXPECT_EQ(codes.info.kind, Unscheduled);
    EXPECT_FALSE(codes.info.holiday);
    EXPECT_EQ(codes.freeText(), "\\H3/5 x");

    const Read note = read("  * x");
    EXPECT_EQ(note.info.kind, Unscheduled);
    EXPECT_EQ(note.freeText(), "* x");

    EXPECT_EQ(read("  3/5 x").info.kind, Anniversary);
    EXPECT_EQ(read("  !2W x").info.kind, EveryNWeeks);
    EXPECT_EQ(read(">  \\H x").info.holiday, false);
}

TEST(ReadAppt, TabIsNotABlank)
{
    const Read r = read("3/5/99\t9:00 x");
    EXPECT_EQ(r.info.kind, Single);
    EXPECT_EQ(r.line.time, -1);
}

TEST(ReadAppt, UnscheduledAndCategoryLines)
{
    const Read hello = read("Hello");
    EXPECT_EQ(hello.info.kind, Unscheduled);
    EXPECT_EQ(hello.line.textStart, 0);

    const Read def = read("\\CWORK=5 Work things");
    EXPECT_EQ(def.info.kind, CategoryLine);
    EXPECT_EQ(def.line.time, -1);
    EXPECT_EQ(def.line.alarmAdvance, -1);
}

TEST(ReadAppt, LineEndingInABackslashOrBang)
{
    for (const char *text : {"\\", "x\\", "!", "\\(", "\\*", "\\B", ">"}) {
        const Read r = read(text);
        EXPECT_LE(static_cast<std::size_t>(r.line.textStart), r.line.text.size()) << text;
    }
    EXPECT_EQ(read("\\").line.textStart, 1);
}

TEST(ReadAppt, ReadingTwiceGivesTheSameRecord)
{
    SimpleReadContext doc;
    TimeString line("\\3\\H\\D3/5/99 3/5/99 -2 +1 9:00 x");
    ApptInfo info;
    ReadAppt(info, doc, line);
    const ApptInfo first = info;
    const TimeString firstLine = line;
    ReadAppt(info, doc, line);
    EXPECT_EQ(info.kind, first.kind);
    EXPECT_EQ(info.mainDate, first.mainDate);
    EXPECT_EQ(info.warnDays, first.warnDays);
    EXPECT_EQ(info.showFollowing, first.showFollowing);
    EXPECT_EQ(info.time, first.time);
    EXPECT_EQ(info.priority, first.priority);
    EXPECT_EQ(line.shade, 0x83);
    EXPECT_EQ(doc.doneDates().size(), 1u);

    // Once the holiday mark is gone from the text, a second read drops it too.
    line.text = "3/5/99 x";
    ReadAppt(info, doc, line);
    EXPECT_FALSE(line.holiday);
    EXPECT_EQ(line.shade, 0);
}

TEST(ReadAppt, CopiesMustBeReadAgain)
{
    TimeString line("3/5/99 9:00 x");
    ApptInfo info;
    SimpleReadContext doc;
    ReadAppt(info, doc, line);
    const TimeString copy = line;
    EXPECT_EQ(copy.text, line.text);
    EXPECT_EQ(copy.textStart, 0);
    EXPECT_EQ(copy.time, -1);
}

TEST(RemoveDateCode, RemovesTheCodeOfThatDateOnly)
{
    SimpleReadContext doc;
    TimeString line("\\D3/5/99 \\D3/12/99 Clean");
    EXPECT_TRUE(RemoveDateCode(line, TDate(12, 3, 1999), doc));
    EXPECT_EQ(line.text, "\\D3/5/99 Clean");
    EXPECT_FALSE(RemoveDateCode(line, TDate(12, 3, 1999), doc));
    EXPECT_EQ(line.text, "\\D3/5/99 Clean");

    TimeString excluded("\\X3/5/99 !1W x");
    EXPECT_TRUE(RemoveDateCode(excluded, TDate(5, 3, 1999), doc));
    EXPECT_EQ(excluded.text, "!1W x");

    // A done mark without a date is not taken for the dated code before it.
    TimeString undated("\\D3/12/99 \\D !1W x");
    EXPECT_TRUE(RemoveDateCode(undated, TDate(12, 3, 1999), doc));
    EXPECT_EQ(undated.text, "\\D !1W x");

    // A birthday's date is no done mark.
    TimeString birthday("\\B3/12/60 Ann");
    EXPECT_FALSE(RemoveDateCode(birthday, TDate(12, 3, 1960), doc));
}

TEST(SameSchedule, ComparesEverythingBeforeTheFreeText)
{
    SimpleReadContext doc;
    TimeString a("3/5/99 Dentist"), b("3/5/99 Doctor"), c("3/6/99 Dentist"), d("3/5/99 9:00 x");
    TimeString e("\\h3/5/99 x"), f("\\H3/5/99 y");
    EXPECT_TRUE(SameSchedule(a, b, doc));
    EXPECT_FALSE(SameSchedule(a, c, doc));
    EXPECT_TRUE(SameSchedule(a, d, doc));
    EXPECT_TRUE(SameSchedule(e, f, doc));
}

TEST(PackCategory, UpperCasedPaddedAndLimitedToFour)
{
    EXPECT_EQ(code("Work"), code("WORK"));
    EXPECT_EQ(code("WORK"), 0x574F524Bu);
    EXPECT_EQ(code("AB"), 0x41422020u);
    EXPECT_EQ(code(""), 0x20202020u);
    EXPECT_EQ(code("AB=x"), code("AB"));
    EXPECT_LT(code("AB"), code("ABC"));

    std::string five = "WORKS";
    TextCursor cursor {five, 0};
    PackCategory(cursor);
    EXPECT_EQ(cursor.pos, 4u);

    EXPECT_EQ(UnpackCategory(code("WORK")), "WORK");
    EXPECT_EQ(UnpackCategory(code("AB")), "AB");
    EXPECT_EQ(UnpackCategory(0), "");
}
