#include "core/apptmeaning.h"
#include "core/category.h"
#include "core/linereader.h"
#include "core/linewriter.h"
#include "linegenerators.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>
#include <vector>

using namespace dvw;
using namespace std::string_literals;

namespace {

DateTextSettings makeSettings(bool european, bool military = false, int centuryBreak = 20)
{
    DateTextSettings s;
    s.european = european;
    s.military = military;
    s.centuryBreak = centuryBreak;
    return s;
}

std::uint32_t code(const std::string &text)
{
    TextCursor cursor {text, 0};
    return PackCategory(cursor);
}

struct Decoded
{
    std::string text;
    std::string meaning;
    std::string freeText;
    ApptInfo info;
};

Decoded decode(const std::string &text, SimpleReadContext &doc)
{
    Decoded d {text, {}, {}, ApptInfo()};
    TimeString line(text);
    LineDates dates;
    ReadAppt(d.info, doc, line, dates);
    d.meaning = DescribeMeaning(d.info, line, dates.done, dates.excluded);
    d.freeText = line.text.substr(static_cast<std::size_t>(line.textStart));
    return d;
}

// Reads the line and writes it back through the writer.
std::string rewrite(const std::string &text, const DateTextSettings &settings = {})
{
    SimpleReadContext doc(settings);
    TimeString line(text);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, doc, line, dates);
    WriteAppt(info, dates, doc, line);
    return line.text;
}

std::string rewriteEuropean(const std::string &text)
{
    return rewrite(text, makeSettings(true));
}

// Checks that the written form of text means what text means and writes itself again.
void expectFaithful(const std::string &text, const DateTextSettings &settings = {})
{
    SimpleReadContext doc(settings);
    const Decoded original = decode(text, doc);
    const std::string written = rewrite(text, settings);
    const Decoded reread = decode(written, doc);
    EXPECT_EQ(reread.meaning, original.meaning) << "line: " << text << "\nwritten: " << written;
    EXPECT_EQ(rewrite(written, settings), written) << "line: " << text;
}

} // namespace

TEST(WriteAppt, NormalisesCodesNamesAndDates)
{
    EXPECT_EQ(rewrite("!mon, wed Gym"), "!MON,WED Gym");
    EXPECT_EQ(rewrite("!wed,mon,sunday Gym"), "!SUN,MON,WED Gym");
    EXPECT_EQ(rewrite("3/5/1999 Dentist"), "3/5/99 Dentist");
    EXPECT_EQ(rewrite("\\i\\h3/5/99 x"), "\\1\\H3/5/99 x");
    EXPECT_EQ(rewrite("\\Q\\D\\Z3/5/99 x"), "3/5/99 x"); // unknown codes, "\D" without a date
    EXPECT_EQ(rewrite("!march3monday>1 Holiday after"), "!MAR3MON>1 Holiday after");
    EXPECT_EQ(rewrite("3/5/99 >2 Late"), "3/7/99 Late"); // the offset is part of the date
    EXPECT_EQ(rewrite("\\B 3/5/1960 Ann (  )"), "\\B3/5/60 Ann (  )");
    EXPECT_EQ(rewrite("  3/5   Mother's day"), "3/5 Mother's day");
}

TEST(WriteAppt, TokenOrderOfEveryCode)
{
    EXPECT_EQ(rewrite("*WORK \\2 Call back"), "*WORK \\2 Call back"); // codes behind "*" are text
    EXPECT_EQ(rewrite("\\2*WORK Call back"), "\\2*WORK Call back");
    EXPECT_EQ(rewrite(">\\h\\p\\n\\(10)\\3 3/5/99 9:00 am Dentist"),
              ">\\3\\(10)\\N\\P\\H3/5/99 9:00 am Dentist");
    EXPECT_EQ(rewrite("\\*HOME \\D3/5/99 \\D3/12/99 !1w Clean"),
              "\\D3/12/99 \\D3/5/99 \\*HOME !1W Clean");
    EXPECT_EQ(
        rewrite("\\X4/1/99 \\H\\D3/5/99 \\P\\e12/31/99 \\N\\s1/1/99 \\L\\U\\W\\(5)\\4\\~!2W x"),
        "\\~\\4\\(5)\\W\\U\\L\\N\\S1/1/99 \\E12/31/99 \\D3/5/99 \\X4/1/99 \\P\\H!2W x");
    EXPECT_EQ(rewrite("3/5/99 +2 -3 Trip"), "3/5/99 -3 +2 Trip");
    EXPECT_EQ(rewrite("\\H Text"), "\\HText");
}

TEST(WriteAppt, DateCodesEndInABlank)
{
    // Dates with flags are written without one by the date text itself.
    EXPECT_EQ(rewrite("\\S3/5\\E?/32\\X3/32/99 !1D x"), "\\S3/5 \\E?/32 \\X3/32/99 !1D x");
    EXPECT_EQ(rewrite("\\B3/5 x"), "\\B3/5 x");
}

TEST(WriteAppt, ScheduleTokenOfEveryKindInBothOrders)
{
    struct Case
    {
        const char *line;
        const char *monthFirst;
        const char *dayFirst;
    };
    const Case cases[] = {
        {"* Buy milk", "* Buy milk", "* Buy milk"},
        {"*work Call", "*WORK Call", "*WORK Call"},
        {"Hello", "Hello", "Hello"},
        {"!3d Water", "!3D Water", "!3D Water"},
        {"!2 w Meet", "!2W Meet", "!2W Meet"},
        {"!1M Pay", "!1M Pay", "!1M Pay"},
        {"!fri,TUE x", "!TUE,FRI x", "!TUE,FRI x"},
        {"!?5FRI Last Friday", "!?5FRI Last Friday", "!?5FRI Last Friday"},
        {"!nov4thu<2 x", "!NOV4THU<2 x", "!NOV4THU<2 x"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(rewrite(c.line), c.monthFirst) << c.line;
        EXPECT_EQ(rewriteEuropean(c.line), c.dayFirst) << c.line;
    }

    // Dated kinds, each line written in its own order.
    EXPECT_EQ(rewrite("?/15/99 -2 9:00 Pay rent"), "?/15/1999 -2 9:00 Pay rent");
    EXPECT_EQ(rewriteEuropean("15/?/99 -2 9:00 Pay rent"), "15/?/1999 -2 9:00 Pay rent");
    EXPECT_EQ(rewrite("3/5/2005 x"), "3/5/05 x");
    EXPECT_EQ(rewriteEuropean("5/3/2005 x"), "5/3/05 x");
    EXPECT_EQ(rewrite("3/5/1850 +1 x"), "3/5/1850 +1 x");
    EXPECT_EQ(rewrite("?/15 Pay rent"), "?/15 Pay rent");
    EXPECT_EQ(rewriteEuropean("15/? Pay rent"), "15/? Pay rent");
    EXPECT_EQ(rewrite("Mar 5 x"), "3/5 x");
    EXPECT_EQ(rewriteEuropean("Mar 5 x"), "5/3 x");
    EXPECT_EQ(rewrite("2/32 "), "2/32 ");
    EXPECT_EQ(rewriteEuropean("32/2 "), "32/2 ");
    EXPECT_EQ(rewrite("?/32 x"), "?/32 x");
    EXPECT_EQ(rewrite("\\b3/5/60 Ann"), "\\B3/5/60 Ann");
    EXPECT_EQ(rewriteEuropean("\\b5/3/60 Ann"), "\\B5/3/60 Ann");
}

TEST(WriteAppt, LinesCarryNoMarkOfTheirDateOrder)
{
    const std::string written = rewriteEuropean("5/3/1999 x");
    EXPECT_EQ(written, "5/3/99 x");
    SimpleReadContext european(makeSettings(true)), monthFirst;
    EXPECT_EQ(decode(written, european).info.mainDate, TDate(5, 3, 1999));
    EXPECT_EQ(decode(written, monthFirst).info.mainDate, TDate(3, 5, 1999));
}

TEST(WriteAppt, ComposesALineFromAFilledRecord)
{
    // As the edit dialog uses it: a record filled from controls and an old line's text.
    SimpleReadContext doc;
    TimeString appt("old schedule Trip");
    appt.textStart = 13;
    ApptInfo info;
    info.kind = Single;
    info.mainDate = TDate(5, 3, 1999);
    info.warnDays = 3;
    info.showFollowing = 2;
    info.done = true;
    LineDates dates;
    dates.done.insert(TDate(5, 3, 1999));
    appt.marked = true;
    WriteAppt(info, dates, doc, appt);
    EXPECT_EQ(appt.text, "\\D3/5/99 3/5/99 -3 +2 Trip");
    EXPECT_TRUE(appt.marked); // the file view's mark belongs to the line, not its text
    EXPECT_EQ(appt.kind, SingleShowFollowing);
    EXPECT_EQ(appt.textStart, 22);
    ApptInfo reread;
    LineDates written;
    ReadAppt(reread, doc, appt, written);
    ASSERT_EQ(written.done.size(), 1u);
    EXPECT_EQ(written.done[0], TDate(5, 3, 1999));
}

TEST(WriteAppt, CategoryDefinitionLinesAreLeftAlone)
{
    EXPECT_EQ(rewrite("\\CWORK=5 Work things"), "\\CWORK=5 Work things");
    EXPECT_EQ(rewrite("\\h\\cx"), "\\h\\cx");
}

TEST(WriteAppt, FreeTextThatWouldExtendTheScheduleGetsBothCountGroups)
{
    EXPECT_EQ(rewrite("!2W +0 -0 +5 apples"), "!2W -0 +0 +5 apples");
    EXPECT_EQ(rewrite("3/5/99 +2 - -x"), "3/5/99 -0 +2 -x");
    EXPECT_EQ(rewrite("3/5/99 + >5 x"), "3/5/99 -0 +0 >5 x"); // not an offset
    EXPECT_EQ(rewrite("3/5/99 -1 >5 x"), "3/5/99 -1 >5 x"); // the group already parts them
    EXPECT_EQ(rewrite("!NOV4THU +0 <b>"), "!NOV4THU -0 +0 <b>");
    EXPECT_EQ(rewrite("!NOV4THU>1 <b>"), "!NOV4THU>1 <b>");
    EXPECT_EQ(rewrite("!MON +0 ,TUE"), "!MON -0 +0 ,TUE"); // not another weekday
    EXPECT_EQ(rewrite("3/5 +0 1999 party"), "3/5 -0 +0 1999 party"); // not its year
    EXPECT_EQ(rewrite("?/15 +0 ,x"), "?/15 -0 +0 ,x");
    EXPECT_EQ(rewrite("3/5 +0 99 x"), "3/5 99 x"); // 99 is no year without a mark
    EXPECT_EQ(rewrite("3/5 +0 14:30 x", makeSettings(false, true)), "3/5 -0 +0 14:30 x");
    EXPECT_EQ(rewrite("\\B3/5/60 +0 \\H x"), "\\B3/5/60 -0 +0 \\H x"); // not a code
    EXPECT_EQ(rewrite("\\B3/5/60 +0 *x"), "\\B3/5/60 -0 +0 *x"); // not a note
    EXPECT_EQ(rewrite("\\B3/5 +0 2001 x"), "\\B3/5 -0 +0 2001 x");
    // A birth date never takes a later date for its schedule, so that needs no groups.
    EXPECT_EQ(rewrite("\\B3/5/60 +0 4/6 party"), "\\B3/5/60 4/6 party");
    expectFaithful("\\B3/5 +0 13/6 party", makeSettings(false, true));
}

TEST(WriteAppt, UnscheduledTextThatLooksLikeCodesStaysBehindABlank)
{
    EXPECT_EQ(rewrite("  * x"), " * x");
    EXPECT_EQ(rewrite("  \\H x"), " \\H x");
    EXPECT_EQ(rewrite("  >x"), " >x");
    EXPECT_EQ(rewrite(">  \\H x"), "> \\H x");
    EXPECT_EQ(rewrite(">  *x"), "> *x");
    EXPECT_EQ(rewrite(">  >x"), ">>x");
    EXPECT_EQ(rewrite("  !3 cats"), "!3 cats");
    EXPECT_EQ(rewrite("3/32/99 x"), "3/32/99 x"); // a full date with day 32 is no schedule
}

TEST(WriteAppt, YearlessDateCodeKeepsACodeBetweenItAndAYear)
{
    // The line's own code goes between them ...
    EXPECT_EQ(rewrite("\\S3/5 \\L,x"), "\\S3/5 \\L,x");
    EXPECT_EQ(rewrite("\\N\\S3/5 \\2 1999 report"), "\\2\\S3/5 \\N1999 report");
    // ... or, when it has none, a code that means nothing.
    EXPECT_EQ(rewrite("\\S3/5 \\Q1999 report"), "\\S3/5 \\()1999 report");
    // With a year, or with a code behind the dates anyway, the order stays.
    EXPECT_EQ(rewrite("\\S3/5/99 \\L1999 report"), "\\L\\S3/5/99 1999 report");
    EXPECT_EQ(rewrite("\\S3/5 \\L\\H1999 report"), "\\L\\S3/5 \\H1999 report");
    const DateTextSettings dayFirstMilitary = makeSettings(true, true);
    EXPECT_EQ(rewrite("\\S5/3 \\L25/12/99 x", dayFirstMilitary), "\\S5/3 \\L25/12/99 x");
    expectFaithful("\\S5/3 \\L25/12/99 x", dayFirstMilitary);
}

TEST(WriteAppt, ImpossibleDaysStayImpossible)
{
    EXPECT_EQ(rewrite("2/30/99 Dentist"), "2/30/99 Dentist");
    EXPECT_EQ(rewrite("4/31/2005 Dentist"), "2/30/99 Dentist");
    EXPECT_EQ(rewriteEuropean("31/4/99 x"), "30/2/99 x");
    EXPECT_EQ(rewrite("4/31 x"), "2/30 x");
    EXPECT_EQ(rewrite("?/0 x"), "?/0 x");
    EXPECT_EQ(rewrite("?/0/05 x"), "?/0/99 x");
    EXPECT_EQ(rewrite("\\S4/31/99 \\D2/29/99 !1W x"), "\\S2/30/99 \\D2/30/99 !1W x");
    EXPECT_EQ(rewrite("\\B2/30/60 x"), "\\B2/30/99 x");
    for (const char *line : {"2/30/99 >3 x", "\\B2/30/60 * x", "\\X2/30 !1W x"})
        expectFaithful(line);
}

TEST(WriteAppt, DatesTheDateTextCannotNameKeepTheirMeaning)
{
    // Year 98 after the offset: a two-digit 98 would read as 1998.
    EXPECT_EQ(rewrite("1/1/100 <400 x"), "1/1/100 <400 x");
    expectFaithful("1/1/100 <400 x");
    // Beyond the day numbers' range the reader wraps the year: the day it wraps to is
    // written where the text can name it, else the typed text is kept.
    EXPECT_EQ(rewrite("\\S3/5/6057993 !1W x"), "\\S8/25/178382 !1W x");
    EXPECT_EQ(rewrite("?/7/6057993 x"), "?/7/6057993 x");
    // December of the last year the numbers hold has no last day: it stays as typed.
    EXPECT_EQ(rewrite("\\S12/32/4294967295 !1W x"), "\\S12/32/4294967295 !1W x");
    for (const char *line : {"3/5/99 >4000000000 x", "3/5/99 <3000000 x", "3/5/6057993 >2 x"})
        expectFaithful(line);
}

TEST(WriteAppt, WrappedNumbersReadBackTheSame)
{
    EXPECT_EQ(rewrite("\\(4294967294)!4294967295D +4294967295 x"),
              "\\(4294967294)!4294967295D +4294967295 x");
    EXPECT_EQ(rewrite("!?5FRI<2147483648 x"), "!?5FRI<2147483648 x");
    expectFaithful("!?5FRI>3000000000 x");
    expectFaithful("3/5/99 +3000000000 x");
}

TEST(WriteAppt, DoneDatesOfOneDayKeepTheirOrder)
{
    // 1/5 and ?/5 are the same day number with different flags.
    const std::string written = rewrite("\\D1/5 \\D?/5 \\D3/5/99 !1W x");
    EXPECT_EQ(written, "\\D1/5 \\D?/5 \\D3/5/99 !1W x");
    EXPECT_EQ(rewrite(written), written);
    expectFaithful("\\X?/5 \\X1/5 \\X1/5 !1W x");
}

TEST(WriteAppt, BlankCategoryCodes)
{
    EXPECT_EQ(rewrite("*"), "*");
    EXPECT_EQ(rewrite("*=x"), "*=x");
    EXPECT_EQ(rewrite("\\*=x"), "\\* =x");
    EXPECT_EQ(rewrite("\\H\\*"), "\\H\\* ");
    EXPECT_EQ(rewrite("\\B3/5/60 \\*,x"), "\\B3/5/60 \\* ,x");
    for (const char *line : {"*", "*,x", "\\* ", "\\B3/5 \\*=1999"})
        expectFaithful(line);
}

TEST(WriteAppt, NoteBehindABirthCodeKeepsIt)
{
    EXPECT_EQ(rewrite("\\B3/5/60 * x"), "\\B3/5/60 * x");
    EXPECT_EQ(rewrite("\\H\\B3/5/60 *home x"), "\\H\\B3/5/60 *HOME x");
}

TEST(WriteAppt, FreeTextIsKeptByteForByte)
{
    const std::string odd = "3/5/99 9:00 \xe9t\xe9 \r\n\0tab\t end  "s;
    const std::string written = rewrite(odd);
    EXPECT_EQ(written, odd);
    EXPECT_EQ(rewrite("\\*A\\B3/5 x"), "\\*A\\B3 /5 x"); // a category code may hold any byte
    expectFaithful("\\*A\\B3/5 x");
}

namespace {

using namespace dvw::test;

DateTextSettings genSettings()
{
    return makeSettings(*rc::gen::arbitrary<bool>(), *rc::gen::arbitrary<bool>(),
                        *rc::gen::inRange(0, 101));
}

} // namespace

RC_GTEST_PROP(WriteAppt, WrittenLineMeansWhatTheLineMeant, ())
{
    const std::string text = *genLine();
    const DateTextSettings settings = genSettings();
    SimpleReadContext doc(settings);
    const Decoded original = decode(text, doc);
    RC_PRE(original.info.kind != CategoryLine);
    const std::string written = rewrite(text, settings);
    const Decoded reread = decode(written, doc);
    RC_ASSERT(reread.freeText == original.freeText);
    RC_ASSERT(reread.meaning == original.meaning);
}

RC_GTEST_PROP(WriteAppt, WritingIsIdempotent, ())
{
    const std::string text = *genLine();
    const DateTextSettings settings = genSettings();
    const std::string written = rewrite(text, settings);
    RC_ASSERT(rewrite(written, settings) == written);
}

RC_GTEST_PROP(WriteAppt, ArbitraryBytesKeepTheirFreeText, (const std::string &text))
{
    const DateTextSettings settings = genSettings();
    SimpleReadContext doc(settings);
    const Decoded original = decode(text, doc);
    RC_PRE(original.info.kind != CategoryLine);
    const std::string written = rewrite(text, settings);
    const Decoded reread = decode(written, doc);
    RC_ASSERT(reread.meaning == original.meaning);
    RC_ASSERT(rewrite(written, settings) == written);
}

// The edit dialog's path: a record filled from controls, written and read back.
namespace {

TDate genFullDate()
{
    const auto year = *rc::gen::inRange<std::uint32_t>(100, 10000);
    const auto month = *rc::gen::inRange<std::uint32_t>(1, 13);
    const bool lastDay = *rc::gen::weightedElement<bool>({{1, true}, {5, false}});
    const auto day = *rc::gen::inRange<std::uint32_t>(1, DaysInMonth(month, year) + 1);
    return TDate(lastDay ? 32 : day, month, year);
}

TDate withFlags(TDate date, std::uint32_t flags)
{
    date.flags |= flags;
    return date;
}

TDate genMainDate(int kind)
{
    const TDate full = genFullDate();
    switch (kind) {
    case MonthlyInYear:
        return withFlags(
            TDate(full.hasFlag(TDate::LastDay) ? 32 : full.DayOfMonth(), 1, full.Year()),
            TDate::AnyMonth);
    case Monthly:
        return withFlags(TDate(*rc::gen::inRange(1u, 33u), 1, 0), TDate::AnyMonth | TDate::NoYear);
    case Anniversary:
        return withFlags(TDate(*rc::gen::inRange(1u, 33u), *rc::gen::inRange(1u, 13u), 0),
                         TDate::NoYear);
    case Single:
    case SingleShowFollowing:
        return TDate::fromDayNumber(full.dayNumber);
    case Birthday:
        return full;
    default:
        return TDate();
    }
}

// Everything the dialog sets, as text.
std::string recordFields(const ApptInfo &i, const DateList &done, const DateList &excluded)
{
    std::string text = std::to_string(i.kind) + " c" + std::to_string(i.completed);
    for (const TDate &d : {i.startDate, i.endDate, i.mainDate})
        text += " " + std::to_string(d.dayNumber) + "/" + std::to_string(d.flags);
    for (const DateList *list : {&done, &excluded}) {
        text += " [";
        for (const TDate &d : list->dates())
            text += std::to_string(d.dayNumber) + "/" + std::to_string(d.flags) + ",";
        text += "]";
    }
    for (const bool b : {i.hasStart, i.hasEnd, i.holiday, i.markL, i.nag, i.unimportant,
                         i.hasExcluded, i.done, i.observed, i.weekdaysOnly, i.noPrint})
        text += b ? " 1" : " 0";
    for (const std::int64_t v :
         {std::int64_t(i.n), std::int64_t(i.month), std::int64_t(i.offset),
          std::int64_t(i.showFollowing), std::int64_t(i.warnDays), std::int64_t(i.priority),
          std::int64_t(i.category), std::int64_t(i.alarmAdvance)})
        text += " " + std::to_string(v);
    text += i.kind == NthWeekdayOfMonth ? " w" + std::to_string(i.weekday) : "";
    for (const bool b : i.weekdays)
        text += b ? "1" : "0";
    return text;
}

} // namespace

RC_GTEST_PROP(WriteAppt, FilledRecordReadsBackAsFilled, ())
{
    const DateTextSettings settings = genSettings();
    SimpleReadContext doc(settings);
    LineDates dates;
    ApptInfo info;
    info.kind = *rc::gen::inRange(1, 14);
    info.completed = *rc::gen::arbitrary<bool>();
    info.mainDate = genMainDate(info.kind);
    if (info.kind >= MonthlyInYear && info.kind <= NthWeekdayOfMonth) {
        info.warnDays = *rc::gen::inRange(0, 40);
        info.showFollowing = info.kind == Single ? 0 : *rc::gen::inRange(0, 40);
        if (info.kind == SingleShowFollowing)
            info.showFollowing = *rc::gen::inRange(1, 40);
    }
    if (info.kind >= EveryNDays && info.kind <= EveryNMonths)
        info.n = *rc::gen::inRange(0, 60);
    if (info.kind == WeeklyOnDays) {
        info.weekdays[static_cast<std::size_t>(*rc::gen::inRange(0, 7))] = true;
        info.weekdays[static_cast<std::size_t>(*rc::gen::inRange(0, 7))] = true;
    }
    if (info.kind == NthWeekdayOfMonth) {
        info.month = *rc::gen::inRange(0, 13);
        info.n = *rc::gen::inRange(1, 6);
        info.weekday = *rc::gen::inRange(0, 7);
        info.offset = *rc::gen::inRange(-3, 4);
    }
    info.observed = *rc::gen::arbitrary<bool>();
    info.priority = static_cast<std::uint8_t>(*rc::gen::inRange(0, 5));
    info.alarmAdvance = *rc::gen::element(-1, 0, 15, 120);
    info.weekdaysOnly = *rc::gen::arbitrary<bool>();
    info.unimportant = *rc::gen::arbitrary<bool>();
    info.markL = *rc::gen::arbitrary<bool>();
    info.nag = *rc::gen::arbitrary<bool>();
    info.noPrint = *rc::gen::arbitrary<bool>();
    info.holiday = *rc::gen::arbitrary<bool>();
    info.category = *rc::gen::element(0u, code("WORK"), code("AB"));
    info.hasStart = *rc::gen::arbitrary<bool>();
    info.startDate = info.hasStart ? genFullDate() : TDate();
    info.hasEnd = *rc::gen::arbitrary<bool>();
    info.endDate = info.hasEnd ? withFlags(genMainDate(Anniversary), 0) : TDate();
    for (int i = *rc::gen::inRange(0, 3); i > 0; --i)
        dates.done.insert(genFullDate());
    for (int i = *rc::gen::inRange(0, 3); i > 0; --i)
        dates.excluded.insert(genMainDate(Anniversary));
    info.done = !dates.done.empty();
    info.hasExcluded = !dates.excluded.empty();
    const std::string expected = recordFields(info, dates.done, dates.excluded);

    // Free text as a user types it; that of a line without a schedule must not itself
    // begin with a schedule or a code.
    const std::string freeText
        = *rc::gen::element<std::string>("", "Dentist", "9:00 am Dentist", "+5 apples", "-x",
                                         ">5 x", "<b>", ",x", "1999 x", "14:30 x", "25 x", "=x");
    TimeString appt("old line " + freeText);
    appt.textStart = 9;
    WriteAppt(info, dates, doc, appt);
    ApptInfo reread;
    LineDates written;
    ReadAppt(reread, doc, appt, written);
    RC_ASSERT(appt.text.substr(static_cast<std::size_t>(appt.textStart)) == freeText);
    RC_ASSERT(recordFields(reread, written.done, written.excluded) == expected);
}
