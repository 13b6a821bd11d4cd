#include "core/category.h"
#include "core/linereader.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

Read read(const std::string &text, SimpleReadContext &doc, LineDates &dates)
{
    Read r {TimeString(text), ApptInfo()};
    ReadAppt(r.info, doc, r.line, dates);
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

    const Read before1900 = read("?/15/1850 x");
    EXPECT_EQ(before1900.info.kind, MonthlyInYear);
    EXPECT_EQ(before1900.line.sortKey, -50 * 32 + 15);

    const Read lastOfEveryMonth = read("?/32 x");
    EXPECT_EQ(lastOfEveryMonth.info.kind, Monthly);
    EXPECT_EQ(lastOfEveryMonth.line.sortKey, 32 + 31);

    // The schedule starts behind the codes, or at the blanks of a line without codes.
    EXPECT_EQ(read("\\H 3/5 x").info.scheduleStart, 3);
    EXPECT_EQ(read(">3/5 x").info.scheduleStart, 1);
    EXPECT_EQ(read("  !2W x").info.scheduleStart, 0);
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

    // A birthday shown on following days stays a birthday, and its time is read.
    const Read shown = read("\\B3/5/60 +1 9:00 Ann");
    EXPECT_EQ(shown.info.kind, Birthday);
    EXPECT_EQ(shown.info.showFollowing, 1);
    EXPECT_EQ(shown.line.time, 540);

    // A birth code whose date does not read makes no birthday.
    const Read undated = read("\\B x");
    EXPECT_EQ(undated.info.kind, Unscheduled);
    EXPECT_EQ(undated.line.birthDate.dayNumber, 0u);
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

    const Read spaced = read("! ? 2 tue > 1 x");
    EXPECT_EQ(spaced.info.kind, NthWeekdayOfMonth);
    EXPECT_EQ(spaced.info.month, 0);
    EXPECT_EQ(spaced.info.n, 2);
    EXPECT_EQ(spaced.info.weekday, 2);
    EXPECT_EQ(spaced.info.offset, 1);
    EXPECT_EQ(spaced.line.sortKey, 0);
    EXPECT_EQ(spaced.freeText(), "x");

    const Read weekend = read("!SUN,SAT x");
    EXPECT_EQ(weekend.line.sortKey, 0);
    EXPECT_EQ(weekend.info.weekday, 6);
    const Read backwards = read("!FRI, tue x");
    EXPECT_EQ(backwards.line.sortKey, 2);
    EXPECT_EQ(backwards.info.weekday, 2);
    EXPECT_TRUE(backwards.info.weekdays[5]);
    EXPECT_EQ(read("!3 w x").info.kind, EveryNWeeks);
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

    // The category ends at four letters or a stop character; the rest is free text.
    const Read five = read("*works  x");
    EXPECT_EQ(five.info.category, code("WORK"));
    EXPECT_EQ(five.freeText(), "s  x");
    const Read stop = read("*AB=x y");
    EXPECT_EQ(stop.info.category, code("AB"));
    EXPECT_EQ(stop.freeText(), "=x y");

    // No count, time or schedule is read behind a note mark.
    const Read counts = read("* +2 9:00 3/5 x");
    EXPECT_EQ(counts.info.showFollowing, 0);
    EXPECT_EQ(counts.line.time, -1);
    EXPECT_EQ(counts.freeText(), "+2 9:00 3/5 x");

    const Read completed = read(">*WORK x");
    EXPECT_TRUE(completed.info.completed);
    EXPECT_EQ(completed.info.kind, Note);
    const Read hidden = read("> * x");
    EXPECT_TRUE(hidden.info.completed);
    EXPECT_EQ(hidden.info.kind, Unscheduled);
    EXPECT_EQ(hidden.freeText(), "* x");
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

    EXPECT_EQ(read("\\3\\4 x").info.priority, 4);
    EXPECT_EQ(read("\\3\\4 x").line.shade, 0x84);
    EXPECT_EQ(read("\\i x").info.priority, 1);
    EXPECT_TRUE(read("\\ h 3/5 x").info.holiday);

    // An alarm code without digits sets nothing but still takes its ")".
    const Read noAlarm = read("\\()  3/5 x");
    EXPECT_EQ(noAlarm.info.alarmAdvance, -1);
    EXPECT_EQ(noAlarm.info.kind, Anniversary);

    // Date codes whose date does not read set nothing.
    const Read undated = read("\\S \\E \\X !1W x");
    EXPECT_FALSE(undated.info.hasStart);
    EXPECT_FALSE(undated.info.hasEnd);
    EXPECT_FALSE(undated.info.hasExcluded);
    EXPECT_EQ(undated.info.kind, EveryNWeeks);

    // A category the table does not hold keeps the shade; one it holds sets it.
    SimpleReadContext doc;
    doc.setCategoryColour(code("WORK"), 5);
    const Read unknown = read("\\2\\*zzz 3/5 x", doc);
    EXPECT_EQ(unknown.line.category, code("ZZZ"));
    EXPECT_EQ(unknown.line.shade, 0x82);
    EXPECT_EQ(read("\\2\\*work 3/5 x", doc).line.shade, 5);
    EXPECT_EQ(read("\\*work\\2 3/5 x", doc).line.shade, 0x82);

    // Everything behind a category definition code belongs to the definition.
    const Read def = read("\\CWORK=5 \\H 3/5 x");
    EXPECT_EQ(def.info.kind, CategoryLine);
    EXPECT_FALSE(def.info.holiday);
    EXPECT_EQ(def.line.textStart, 2);
}

TEST(ReadAppt, DoneAndExcludedDatesGoToTheCallersValue)
{
    SimpleReadContext doc;
    LineDates dates;
    const Read r = read("\\*HOME \\D3/12/99 \\D3/5/99 \\X4/1/99 !1W Clean", doc, dates);
    EXPECT_EQ(r.info.category, code("HOME"));
    EXPECT_EQ(r.info.kind, EveryNWeeks);
    EXPECT_TRUE(r.info.done);
    EXPECT_TRUE(r.info.hasExcluded);
    ASSERT_EQ(dates.done.size(), 2u);
    EXPECT_EQ(dates.done[0], TDate(5, 3, 1999));
    EXPECT_EQ(dates.done[1], TDate(12, 3, 1999));
    ASSERT_EQ(dates.excluded.size(), 1u);

    read("Hello", doc, dates);
    EXPECT_TRUE(dates.done.empty());
    EXPECT_TRUE(dates.excluded.empty());

    const Read undated = read("\\D !1W x", doc, dates);
    EXPECT_TRUE(undated.info.done);
    EXPECT_TRUE(dates.done.empty());

    // Reading another line without a place for dates leaves the caller's dates alone.
    read("\\D3/12/99 \\X4/1/99 !1W Clean", doc, dates);
    read("\\D3/5/99 \\D3/6/99 Other", doc);
    EXPECT_EQ(dates.done.size(), 1u);
    EXPECT_EQ(dates.excluded.size(), 1u);
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

    const Read spaced = read("3/5/99 < 3 x");
    EXPECT_EQ(spaced.info.offset, -3);
    EXPECT_EQ(spaced.info.mainDate, TDate(2, 3, 1999));

    const Read newYear = read("12/31/99 >1 x");
    EXPECT_EQ(newYear.info.mainDate, TDate(1, 1, 2000));
    EXPECT_EQ(newYear.line.sortKey, 2000 * 384 + 32 + 1);

    // The schedule ends behind the offset; a sign without digits is taken and means nothing.
    EXPECT_EQ(late.info.scheduleEnd, 10);
    const Read bareSign = read("3/5/99 > x");
    EXPECT_EQ(bareSign.info.offset, 0);
    EXPECT_EQ(bareSign.info.scheduleEnd, 9);
    EXPECT_EQ(bareSign.freeText(), "x");

    // Only a full date takes an offset.
    const Read anniversary = read("3/5 >2 x");
    EXPECT_EQ(anniversary.info.offset, 0);
    EXPECT_EQ(anniversary.freeText(), ">2 x");

    const Read shown = read("3/5/99 >1 +2 x");
    EXPECT_EQ(shown.info.kind, SingleShowFollowing);
    EXPECT_EQ(shown.info.mainDate, TDate(6, 3, 1999));

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

TEST(ReadAppt, CountGroupsAndTime)
{
    const Read later = read("3/5/99 +2 +5 x");
    EXPECT_EQ(later.info.showFollowing, 5);
    EXPECT_EQ(later.info.kind, SingleShowFollowing);
    EXPECT_EQ(later.freeText(), "x");

    // Two groups at most: a third stays in the free text.
    const Read three = read("3/5/99 -2 +1 -5 x");
    EXPECT_EQ(three.info.warnDays, 2);
    EXPECT_EQ(three.info.showFollowing, 1);
    EXPECT_EQ(three.freeText(), "-5 x");

    const Read bareSign = read("3/5/99 + 9:00 x");
    EXPECT_EQ(bareSign.info.showFollowing, 9);
    const Read signOnly = read("3/5/99 + x");
    EXPECT_EQ(signOnly.info.showFollowing, 0);
    EXPECT_EQ(signOnly.info.kind, Single);
    EXPECT_EQ(signOnly.freeText(), "x");
    EXPECT_EQ(read("3/5/99 - -4 x").info.warnDays, 4);
    EXPECT_EQ(read("3/5/99 +0 x").info.kind, Single);

    const Read rule = read("!2W -1 8:30 x");
    EXPECT_EQ(rule.info.warnDays, 1);
    EXPECT_EQ(rule.line.time, 510);
    EXPECT_EQ(rule.freeText(), "8:30 x");

    // A line without a schedule has no time, even when its text starts with one.
    const Read unscheduled = read("9:00 Meeting");
    EXPECT_EQ(unscheduled.info.kind, Unscheduled);
    EXPECT_EQ(unscheduled.line.time, -1);
    EXPECT_EQ(unscheduled.freeText(), "9:00 Meeting");

    // With military times a four-digit number behind a yearless date is the time.
    DateTextSettings military;
    military.military = true;
    SimpleReadContext doc(military);
    const Read fourDigits = read("3/5 1400 x", doc);
    EXPECT_EQ(fourDigits.info.kind, Anniversary);
    EXPECT_EQ(fourDigits.line.time, 840);
    EXPECT_EQ(fourDigits.freeText(), "1400 x");
    EXPECT_EQ(read("3/5 1400 x").line.time, -1);
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

    const Read alarmFirst = read("\\(15)\\CWORK=5 Work things");
    EXPECT_EQ(alarmFirst.info.kind, CategoryLine);
    EXPECT_EQ(alarmFirst.line.alarmAdvance, -1);
    EXPECT_EQ(alarmFirst.info.alarmAdvance, -1);
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
    LineDates dates;
    ReadAppt(info, doc, line, dates);
    const ApptInfo first = info;
    const TimeString firstLine = line;
    ReadAppt(info, doc, line, dates);
    EXPECT_EQ(info.kind, first.kind);
    EXPECT_EQ(info.mainDate, first.mainDate);
    EXPECT_EQ(info.warnDays, first.warnDays);
    EXPECT_EQ(info.showFollowing, first.showFollowing);
    EXPECT_EQ(info.time, first.time);
    EXPECT_EQ(info.priority, first.priority);
    EXPECT_EQ(line.shade, 0x83);
    EXPECT_EQ(dates.done.size(), 1u);

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

    // Of two codes with the date the later one goes, and its exact span with it.
    ApptInfo info;
    SetTarget(info, TDate(12, 3, 1999));
    TimeString both("\\D3/5/99 \\X3/12/99 \\D3/12/99  x");
    ReadAppt(info, doc, both);
    EXPECT_EQ(info.targetStart, 19);
    EXPECT_EQ(info.targetEnd, 30);
    EXPECT_TRUE(RemoveDateCode(both, TDate(12, 3, 1999), doc));
    EXPECT_EQ(both.text, "\\D3/5/99 \\X3/12/99 x");
    EXPECT_TRUE(RemoveDateCode(both, TDate(12, 3, 1999), doc));
    EXPECT_EQ(both.text, "\\D3/5/99 x");

    // What followed the removed code is never taken as the year of a date code before it.
    TimeString yearAfter("\\S3/5 \\D3/12/99 1999 report");
    EXPECT_TRUE(RemoveDateCode(yearAfter, TDate(12, 3, 1999), doc));
    EXPECT_EQ(yearAfter.text, "\\S3/5 \\()1999 report");
    ApptInfo afterRemoval;
    ReadAppt(afterRemoval, doc, yearAfter);
    EXPECT_EQ(afterRemoval.startDate.flags, TDate::NoYear);
    EXPECT_EQ(yearAfter.text.substr(static_cast<std::size_t>(yearAfter.textStart)), "1999 report");
    TimeString markAfter("\\D3/5 \\X3/12/99 , 5 x");
    EXPECT_TRUE(RemoveDateCode(markAfter, TDate(12, 3, 1999), doc));
    EXPECT_EQ(markAfter.text, "\\D3/5 \\(), 5 x");

    // The schedule's own date is no done mark.
    TimeString single("3/12/99 x");
    EXPECT_FALSE(RemoveDateCode(single, TDate(12, 3, 1999), doc));
    EXPECT_EQ(single.text, "3/12/99 x");

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

    TimeString wide("3/5/99  Dentist"), g("\\N3/5/99 x"), h("Hello"), i("World");
    EXPECT_FALSE(SameSchedule(a, wide, doc));
    EXPECT_FALSE(SameSchedule(e, g, doc));
    EXPECT_TRUE(SameSchedule(h, i, doc));
}

TEST(PackCategory, UpperCasedPaddedAndLimitedToFour)
{
    EXPECT_EQ(code("Work"), code("WORK"));
    EXPECT_EQ(code("WORK"), 0x574F524Bu);
    EXPECT_EQ(code("AB"), 0x41422020u);
    EXPECT_EQ(code(""), 0x20202020u);
    EXPECT_EQ(code("AB=x"), code("AB"));
    EXPECT_EQ(code("AB,CD"), code("AB"));
    EXPECT_EQ(code("AB CD"), code("AB"));
    EXPECT_EQ(code("A\tB"), 0x41094220u); // a tab is no blank: it is part of the code
    const std::string withNul("A\0B", 3);
    TextCursor nul {withNul, 0};
    EXPECT_EQ(PackCategory(nul), code("A"));
    EXPECT_EQ(nul.pos, 1u);
    EXPECT_LT(code("AB"), code("ABC"));

    std::string five = "WORKS";
    TextCursor cursor {five, 0};
    PackCategory(cursor);
    EXPECT_EQ(cursor.pos, 4u);

    EXPECT_EQ(UnpackCategory(code("WORK")), "WORK");
    EXPECT_EQ(UnpackCategory(code("AB")), "AB");
    EXPECT_EQ(UnpackCategory(0), "");
}

namespace {

using DateKey = std::pair<std::uint32_t, std::uint32_t>;

std::vector<DateKey> keysOf(const DateList &list)
{
    std::vector<DateKey> keys;
    for (const TDate &d : list.dates())
        keys.emplace_back(d.dayNumber, d.flags);
    return keys;
}

DateKey keyOf(const TDate &d)
{
    return {d.dayNumber, d.flags};
}

} // namespace

// Taking one done or excluded date back changes nothing else the line says, whatever
// stands around the code.
RC_GTEST_PROP(RemoveDateCode, TheRestOfTheLineKeepsItsMeaning, ())
{
    const std::vector<std::string> codes
        = {"\\S3/5 ", "\\E3/5/99 ", "\\D3/5 ", "\\X4/1 ", "\\B3/5/60 ",
           "\\H",     "\\D ",       "\\S?/5 ", "\\(15)",  "\\E4/1, "};
    const std::vector<std::string> tails
        = {"1999 ", ", 5 ", "/99 ", "3/5 ", "!2W ", "x ", "13 ", "9:00 ", "+2 ", "* ", "\\N", "2/"};
    auto pieces = [](const std::vector<std::string> &from, int most) {
        return rc::gen::container<std::vector<std::string>>(
            static_cast<std::size_t>(*rc::gen::inRange(0, most + 1)), rc::gen::elementOf(from));
    };
    std::string text = *rc::gen::element(std::string(), std::string(">"));
    for (const std::string &p : *pieces(codes, 3))
        text += p;
    const bool done = *rc::gen::arbitrary<bool>();
    text += done ? "\\D5/5/99 " : "\\X5/5/99 ";
    for (const std::string &p : *pieces(codes, 2))
        text += p;
    for (const std::string &p : *pieces(tails, 3))
        text += p;

    DateTextSettings settings;
    settings.european = *rc::gen::arbitrary<bool>();
    settings.military = *rc::gen::arbitrary<bool>();
    SimpleReadContext doc(settings);
    TimeString line(text);
    ApptInfo before;
    LineDates dates;
    ReadAppt(before, doc, line, dates);
    const std::string freeText = text.substr(static_cast<std::size_t>(line.textStart));
    std::vector<DateKey> doneBefore = keysOf(dates.done);
    std::vector<DateKey> excludedBefore = keysOf(dates.excluded);
    const TDate target(5, 5, 1999);
    auto &fromList = done ? doneBefore : excludedBefore;
    const auto it = std::find(fromList.begin(), fromList.end(), keyOf(target));
    RC_ASSERT(it != fromList.end());
    fromList.erase(it);

    RC_ASSERT(RemoveDateCode(line, target, doc));
    ApptInfo after;
    ReadAppt(after, doc, line, dates);
    RC_ASSERT(after.kind == before.kind);
    RC_ASSERT(line.text.substr(static_cast<std::size_t>(line.textStart)) == freeText);
    RC_ASSERT(keyOf(after.mainDate) == keyOf(before.mainDate));
    RC_ASSERT(after.hasStart == before.hasStart);
    RC_ASSERT(keyOf(after.startDate) == keyOf(before.startDate));
    RC_ASSERT(after.hasEnd == before.hasEnd);
    RC_ASSERT(keyOf(after.endDate) == keyOf(before.endDate));
    RC_ASSERT(after.alarmAdvance == before.alarmAdvance);
    RC_ASSERT(after.completed == before.completed);
    RC_ASSERT(keysOf(dates.done) == doneBefore);
    RC_ASSERT(keysOf(dates.excluded) == excludedBefore);
}
