#include "core/apptmeaning.h"
#include "core/category.h"
#include "core/linereader.h"
#include "edit/apptform.h"
#include "linegenerators.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <string>

using namespace dvw;

namespace {

std::uint32_t code(const std::string &text)
{
    TextCursor cursor {text, 0};
    return PackCategory(cursor);
}

// A document with the categories WORK and HOME, today 7 December 2026.
struct Doc
{
    explicit Doc(DateTextSettings settings = {})
        : context(settings)
    { }
    FormDocument form()
    {
        return {&context, TDate(7, 12, 2026), {{code("WORK"), "Work"}, {code("HOME"), "Home"}}};
    }
    SimpleReadContext context;
};

const TDate opening(9, 3, 1999); // a Tuesday

ApptForm enlargedForm(Doc &doc, const std::string &line)
{
    return ApptForm(doc.form(), line, opening, true);
}

using Edit = std::function<void(ApptForm &)>;

std::string meaningOf(const std::string &text, ReadContext &context)
{
    TimeString line(text);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, context, line, dates);
    return DescribeMeaning(info, line, dates.done, dates.excluded);
}

} // namespace

// What the enlarged dialog shows for each kind of line.
TEST(ApptForm, ControlsShowTheLine)
{
    using K = KindButton;
    struct Case
    {
        std::string line;
        FormControls shown;
    };
    const Case cases[] = {
        {"3/5/99 9:00 am Dentist",
         {.text = "9:00 am Dentist", .kind = K::Single, .mainDate = "3/5/99"}},
        {"3/5 Mother's day", {.text = "Mother's day", .kind = K::Anniversary, .mainDate = "3/5"}},
        {"\\B3/5/60 Ann (  )", {.text = "Ann (  )", .kind = K::Birthday, .mainDate = "3/5/60"}},
        {"?/15 Pay rent", {.text = "Pay rent", .kind = K::Anniversary, .mainDate = "?/15"}},
        {"?/15/99 -2 9:00 Pay rent",
         {.text = "9:00 Pay rent", .kind = K::Single, .warnDays = "2", .mainDate = "?/15/99"}},
        {"!2W Team meeting", {.text = "Team meeting", .kind = K::EveryN, .count = "2", .unit = 1}},
        {"!mon, wed Gym",
         {.text = "Gym", .kind = K::Weekly, .weekdays = {false, true, false, true}}},
        {"!MAR3MON>1 Holiday after",
         {.text = "Holiday after",
          .kind = K::NthWeekday,
          .ordinal = 2,
          .weekday = 1,
          .month = 2,
          .offset = "1"}},
        {"!?5FRI Last Friday",
         {.text = "Last Friday", .kind = K::NthWeekday, .ordinal = 4, .weekday = 5, .month = 12}},
        {"* Buy milk", {.text = "Buy milk"}},
        {"*WORK Call back", {.text = "Call back", .category = 1}},
        {">\\N3/5/99 -3 Tax return",
         {.text = "Tax return",
          .kind = K::Single,
          .marks = {false, false, false, true, true, false},
          .warnDays = "3",
          .mainDate = "3/5/99"}},
        {"\\2\\H12/25 +1 Christmas",
         {.text = "Christmas",
          .kind = K::Anniversary,
          .marks = {true},
          .priority = 2,
          .showFollowing = "1",
          .mainDate = "12/25"}},
        {"\\*HOME \\D3/5/99 \\D3/12/99 !1W Clean",
         {.text = "Clean",
          .kind = K::EveryN,
          .category = 2,
          .doneDates = "3/5/99, 3/12/99",
          .count = "1",
          .unit = 1}},
        {"3/5/99 >2 Late",
         {.text = "Late", .kind = K::Single, .mainDate = "3/7/99", .offset = "2"}},
        {"Hello", {.text = "Hello"}},
        {"\\(15)\\S1/4/27 \\E2/1/27 \\X1/11/27 !3D x",
         {.text = "x",
          .kind = K::EveryN,
          .alarmAdvance = "15",
          .excludedDates = "1/11/27",
          .startDate = "1/4/27",
          .endDate = "2/1/27",
          .count = "3"}},
        // Values no control offers are shown as near as the controls can.
        {"\\*GOLF x", {.text = "x", .kind = K::Single, .category = 3}},
        {"!?7FRI x", {.text = "x", .kind = K::NthWeekday, .ordinal = 4, .weekday = 5}},
        {"!0D x", {.text = "x", .kind = K::EveryN, .count = "0"}},
        // Fields a kind disables still show the line's values.
        {"\\(5)\\U* x", {.text = "x", .marks = {false, false, false, false, false, true}}},
    };
    for (const Case &c : cases) {
        Doc doc;
        ApptForm form = enlargedForm(doc, c.line);
        FormControls expected = c.shown;
        if (c.line.rfind("\\(5)", 0) == 0)
            expected.alarmAdvance = "5";
        if (c.line == "\\*GOLF x") {
            // An undefined category gets an item of its own.
            ASSERT_EQ(form.categoryItems().size(), 4u);
            EXPECT_EQ(form.categoryItems()[3].text, "GOLF");
            continue;
        }
        EXPECT_EQ(form.controls(), expected) << c.line;
    }
}

// The lines the enlarged dialog composes from what the user set.
TEST(ApptForm, ControlsComposeTheLine)
{
    using K = KindButton;
    struct Case
    {
        std::string opened;
        Edit edit;
        std::string line;
        ApptForm::Result result;
    };
    const Case cases[] = {
        {"", [](ApptForm &f) { f.controls().text = "Buy milk"; }, "* Buy milk",
         ApptForm::ScheduleChanged},
        {"3/5 x", [](ApptForm &f) { f.controls().mainDate = "?/15"; }, "?/15 x",
         ApptForm::ScheduleChanged},
        {"3/5/99 x", [](ApptForm &f) { f.controls().mainDate = "?/15/99"; }, "?/15/1999 x",
         ApptForm::ScheduleChanged},
        {"3/5/99 Trip", [](ApptForm &f) { f.controls().showFollowing = "2"; }, "3/5/99 +2 Trip",
         ApptForm::ScheduleChanged},
        {"!MAR3MON x", [](ApptForm &f) { f.controls().offset = "-2"; }, "!MAR3MON<2 x",
         ApptForm::ScheduleChanged},
        {"\\B3/5/60 Bob", [](ApptForm &f) { f.controls().text = "Ann"; }, "\\B3/5/60 Ann (  )",
         ApptForm::FreeTextChanged},
        {"\\B3/5/60 Bob", [](ApptForm &f) { f.controls().text = "Ann (born in Leeds)"; },
         "\\B3/5/60 Ann (born in Leeds)", ApptForm::FreeTextChanged},
        {"!1W Clean", [](ApptForm &f) { f.controls().doneDates = "3/5/99, 3/12/99 junk 3/19/99"; },
         "\\D3/12/99 \\D3/5/99 !1W Clean", ApptForm::ScheduleChanged},
        {"3/5/99 x", [](ApptForm &f) { f.controls().mainDate = "3/6/99"; }, "3/6/99 x",
         ApptForm::ScheduleChanged},
        {"3/5/99 x", [](ApptForm &f) { f.controls().text = "y"; }, "3/5/99 y",
         ApptForm::FreeTextChanged},
        {"3/5/99 x",
         [](ApptForm &f) {
             f.chooseKind(K::EveryN);
             f.controls().count = "2";
             f.controls().unit = 2;
         },
         "!2M x", ApptForm::ScheduleChanged},
        {"3/5/99 x",
         [](ApptForm &f) {
             f.chooseKind(K::NthWeekday);
             f.controls().ordinal = 3;
             f.controls().weekday = 4;
             f.controls().month = 10;
         },
         "!NOV4THU x", ApptForm::ScheduleChanged},
        {"* x",
         [](ApptForm &f) {
             f.controls().category = 1;
             f.controls().priority = 2;
         },
         "\\2*WORK x", ApptForm::ScheduleChanged},
        {"!1W x",
         [](ApptForm &f) {
             f.controls().startDate = "1/4/27";
             f.controls().endDate = "junk";
             f.controls().alarmAdvance = "abc";
         },
         "\\S1/4/27 !1W x", ApptForm::ScheduleChanged},
        // An undefined category is kept when the user changes something else.
        {"\\*GOLF 3/5/99 x", [](ApptForm &f) { f.controls().text = "y"; }, "\\*GOLF 3/5/99 y",
         ApptForm::FreeTextChanged},
        // A kind 11 line without a weekday takes the opening date's.
        {"3/5/99 x", [](ApptForm &f) { f.chooseKind(K::Weekly); }, "!TUE x",
         ApptForm::ScheduleChanged},
        {"!MON x",
         [](ApptForm &f) {
             f.controls().weekdays = {};
             f.controls().text = "y";
         },
         "!TUE y", ApptForm::ScheduleChanged},
        // An emptied date takes the opening date.
        {"3/5/99 x", [](ApptForm &f) { f.controls().mainDate = ""; }, "3/9/99 x",
         ApptForm::ScheduleChanged},
        {"!1W x", [](ApptForm &f) { f.chooseKind(K::Anniversary); }, "3/9 x",
         ApptForm::ScheduleChanged},
        // An ordinal beyond "Last" and a count of 0 survive an edit of the text.
        {"!?7FRI x", [](ApptForm &f) { f.controls().text = "y"; }, "!?7FRI y",
         ApptForm::FreeTextChanged},
        {"!0D x", [](ApptForm &f) { f.controls().text = "y"; }, "!0D y", ApptForm::FreeTextChanged},
        // Choosing the single kind over a partial date starts from today.
        {"3/5 x", [](ApptForm &f) { f.chooseKind(K::Single); }, "12/7/2026 x",
         ApptForm::ScheduleChanged},
        // Switching a kind off its groups clears what they held.
        {"\\X3/5/99 3/5 -2 x", [](ApptForm &f) { f.chooseKind(K::Note); }, "* x",
         ApptForm::ScheduleChanged},
    };
    for (const Case &c : cases) {
        Doc doc;
        ApptForm form = enlargedForm(doc, c.opened);
        c.edit(form);
        EXPECT_EQ(form.accept(), c.result) << c.opened;
        EXPECT_EQ(form.line(), c.line) << c.opened;
    }
}

TEST(ApptForm, ReducedModeResultComparesTheBytes)
{
    struct Case
    {
        std::string opened;
        std::string typed;
        ApptForm::Result result;
    };
    const Case cases[] = {
        {"3/5/99 x", "3/5/99 x", ApptForm::Unchanged},
        {"3/5/99 x", "3/5/99 y", ApptForm::FreeTextChanged},
        {"3/5/99 x", "3/6/99 x", ApptForm::ScheduleChanged},
        // Letter case of a code is no schedule change, but the bytes differ.
        {"\\h3/5 x", "\\H3/5 x", ApptForm::FreeTextChanged},
        {"", "3/5/99 <2 x", ApptForm::ScheduleChanged},
        {"", "", ApptForm::Unchanged},
    };
    for (const Case &c : cases) {
        Doc doc;
        ApptForm form(doc.form(), c.opened, opening, false);
        EXPECT_EQ(form.controls().text, c.opened);
        form.controls().text = c.typed;
        EXPECT_EQ(form.accept(), c.result) << c.typed;
        EXPECT_EQ(form.line(), c.typed);
    }
}

TEST(ApptForm, CancelGivesBackTheOpenedLine)
{
    Doc doc;
    ApptForm form = enlargedForm(doc, "3/5/99 x");
    form.controls().mainDate = "4/1/99";
    form.cancel();
    EXPECT_EQ(form.line(), "3/5/99 x");
    EXPECT_EQ(form.result(), ApptForm::Unchanged);
}

TEST(ApptForm, ModeSwitchCarriesTheLineBothWays)
{
    Doc doc;
    ApptForm form = enlargedForm(doc, "3/5/99 x");
    form.controls().warnDays = "3";
    ASSERT_TRUE(form.switchMode());
    EXPECT_FALSE(form.enlarged());
    EXPECT_EQ(form.controls().text, "3/5/99 -3 x");
    form.controls().text = "!2W -1 y";
    ASSERT_TRUE(form.switchMode());
    EXPECT_EQ(form.controls().kind, KindButton::EveryN);
    EXPECT_EQ(form.controls().count, "2");
    EXPECT_EQ(form.controls().warnDays, "1");
    EXPECT_EQ(form.controls().mainDate, "");
    EXPECT_EQ(form.controls().text, "y");
}

TEST(ApptForm, CategoryDefinitionStaysRawOnly)
{
    Doc doc;
    ApptForm definition = enlargedForm(doc, "\\C WORK=3 Work");
    EXPECT_TRUE(definition.rawOnly());
    EXPECT_FALSE(definition.enlarged());
    EXPECT_FALSE(definition.switchMode());
    EXPECT_EQ(definition.controls().text, "\\C WORK=3 Work");

    // A line typed into a definition does not open the controls either.
    ApptForm typed(doc.form(), "3/5/99 x", opening, false);
    typed.controls().text = "\\C HOME=2 Home";
    EXPECT_FALSE(typed.switchMode());
    EXPECT_TRUE(typed.rawOnly());
    EXPECT_EQ(typed.controls().text, "\\C HOME=2 Home");
}

TEST(ApptForm, LayoutsSwitchGroupsAndMarks)
{
    struct Case
    {
        KindButton button;
        std::uint16_t groups;
        std::string enabledMarks; // H P W N C U
    };
    const Case cases[] = {
        {KindButton::Note, 0b000000000000, "-P--C U"},
        {KindButton::Single, 0b000111000100, "HPWNC-"},
        {KindButton::Anniversary, 0b010111000111, "HPWN--"},
        {KindButton::Birthday, 0b010111000111, "HPWN--"},
        {KindButton::EveryN, 0b010001001011, "HPW---"},
        {KindButton::NthWeekday, 0b010111110011, "HPWN--"},
        {KindButton::Weekly, 0b110001000011, "HPW---"},
    };
    for (const Case &c : cases) {
        const KindLayout layout = LayoutOf(c.button, false);
        EXPECT_EQ(layout.groups, c.groups) << static_cast<int>(c.button);
        std::string marks;
        for (bool on : layout.marks)
            marks += on ? "x" : "-";
        std::string expected;
        for (char m : c.enabledMarks)
            if (m != ' ')
                expected += m == '-' ? '-' : 'x';
        EXPECT_EQ(marks, expected) << static_cast<int>(c.button);
    }
    EXPECT_EQ(LayoutOf(KindButton::Anniversary, true).mainDateLabel, "Enter day/month:");
    EXPECT_EQ(LayoutOf(KindButton::Anniversary, false).mainDateLabel, "Enter month/day:");
}

TEST(ApptForm, DateSpinnersStepDaysAndStartFromToday)
{
    struct Case
    {
        std::string opened; // an enlarged line
        ApptForm::DateField field;
        std::string text;
        int step;
        std::string after;
    };
    using F = ApptForm::DateField;
    const Case cases[] = {
        {"3/5/99 x", F::Main, "3/5/99", -1, "3/4/99"},
        {"3/5/99 x", F::Main, "2/28/00", 1, "2/29/00"},
        {"3/5/99 x", F::Main, "12/31/99", 1, "1/1/00"},
        {"3/5/99 x", F::Main, "3/5/99", 0, "3/5/99"},
        {"3/5/99 x", F::Main, "junk", 1, "12/7/2026"},
        // A day the calendar lacks is no date to step from.
        {"3/5/99 x", F::Main, "2/30/99", 1, "12/7/2026"},
        {"3/5 x", F::Main, "", -1, "12/7"},
        {"?/15 x", F::Main, "", 1, "?/7"},
        {"?/15/99 x", F::Main, "", 1, "?/7/2026"},
        {"!1W x", F::Start, "", 1, "12/7/2026"},
        {"!1W x", F::End, "1/1/27", -1, "12/31/26"},
    };
    for (const Case &c : cases) {
        Doc doc;
        ApptForm form = enlargedForm(doc, c.opened);
        form.controls().mainDate = c.field == F::Main ? c.text : form.controls().mainDate;
        form.controls().startDate = c.field == F::Start ? c.text : form.controls().startDate;
        form.controls().endDate = c.field == F::End ? c.text : form.controls().endDate;
        form.spin(c.field, c.step);
        const std::string &after = c.field == F::Main ? form.controls().mainDate
            : c.field == F::Start                     ? form.controls().startDate
                                                      : form.controls().endDate;
        EXPECT_EQ(after, c.after) << c.opened << " " << c.text;
    }
}

TEST(ApptForm, WeekdayBoxNamesCompleteDatesOnly)
{
    Doc doc;
    ApptForm form = enlargedForm(doc, "3/5/99 x");
    EXPECT_EQ(form.weekdayBox(ApptForm::DateField::Main), "Fri");
    form.controls().mainDate = "3/5";
    EXPECT_EQ(form.weekdayBox(ApptForm::DateField::Main), "");
    form.controls().mainDate = "2/30/99";
    EXPECT_EQ(form.weekdayBox(ApptForm::DateField::Main), "");
    form.controls().mainDate = "soon";
    EXPECT_EQ(form.weekdayBox(ApptForm::DateField::Main), std::nullopt);
}

TEST(ApptForm, NumberFieldsFallBackAndHoldToTheIntRange)
{
    struct Case
    {
        std::string text;
        bool minus;
        int value;
    };
    const Case cases[] = {
        {"", false, -7},
        {"  12x", false, 12},
        {"-2", false, -7},
        {"-2", true, -2},
        {"- 2", true, -7},
        {"abc", false, -7},
        {"99999999999", false, 2147483647},
        {"-99999999999", true, -2147483647},
        {"\t3", false, -7},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadNumberField(c.text, -7, c.minus), c.value) << c.text;
}

TEST(ApptForm, LongDateListsAreKeptWhole)
{
    Doc doc;
    DateList many;
    for (std::uint32_t day = 0; day < 3650; ++day)
        many.insert(TDate::fromDayNumber(TDate(1, 1, 2027).dayNumber + day));
    ApptForm form = enlargedForm(doc, "!1D x");
    form.controls().doneDates = FormatDateList(many, {});
    form.accept();
    TimeString written(form.line());
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, doc.context, written, dates);
    EXPECT_EQ(dates.done.dates(), many.dates());
}

// Properties over generated lines.
namespace {

DateTextSettings genSettings()
{
    DateTextSettings s;
    s.european = *rc::gen::arbitrary<bool>();
    s.centuryBreak = *rc::gen::inRange(0, 101);
    return s;
}

} // namespace

RC_GTEST_PROP(ApptForm, UntouchedOkKeepsTheBytes, ())
{
    const std::string line = *test::genLine();
    const bool big = *rc::gen::arbitrary<bool>();
    Doc doc(genSettings());
    ApptForm form(doc.form(), line, opening, big);
    RC_ASSERT(form.accept() == ApptForm::Unchanged);
    RC_ASSERT(form.line() == line);
}

RC_GTEST_PROP(ApptForm, ChangingTheFreeTextKeepsTheMeaningOfTheRest, ())
{
    const std::string line = *test::genLine();
    const bool big = *rc::gen::arbitrary<bool>();
    Doc doc(genSettings());
    ApptForm form(doc.form(), line, opening, big);
    RC_PRE(!form.rawOnly());
    TimeString read(line);
    ApptInfo info;
    ReadAppt(info, doc.context, read);
    // The note button turns a line without schedule into a note.
    RC_PRE(!big || info.kind != Unscheduled);
    const std::string freeText = line.substr(static_cast<std::size_t>(read.textStart));
    RC_PRE(!freeText.empty());
    form.controls().text += "z";
    RC_ASSERT(form.accept() == ApptForm::FreeTextChanged);
    TimeString result(form.line());
    ApptInfo after;
    ReadAppt(after, doc.context, result);
    const std::string prefix = result.text.substr(0, static_cast<std::size_t>(result.textStart));
    // OK puts the brackets for the age behind a birthday's text.
    const std::string age
        = big && info.kind == Birthday && freeText.find('(') == std::string::npos ? " (  )" : "";
    RC_ASSERT(result.text.substr(prefix.size()) == freeText + "z" + age);
    RC_ASSERT(meaningOf(prefix + freeText, doc.context) == meaningOf(line, doc.context));
}

RC_GTEST_PROP(ApptForm, WrittenFromFilledControlsReadsBackTheSameAppointment, ())
{
    const std::string line = *test::genLine();
    Doc doc(genSettings());
    ApptForm form(doc.form(), line, opening, true);
    RC_PRE(form.enlarged());
    TimeString read(line);
    ApptInfo info;
    ReadAppt(info, doc.context, read);
    RC_PRE(info.kind != Unscheduled);
    RC_ASSERT(meaningOf(form.writtenLine(), doc.context) == meaningOf(line, doc.context));
}
