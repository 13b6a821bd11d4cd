#include "core/linereader.h"
#include "store/categorytables.h"
#include "store/linesort.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>

using namespace dvw;

namespace {

std::vector<TimeString> readLines(const std::vector<std::string> &texts)
{
    SimpleReadContext context;
    std::vector<TimeString> lines;
    for (const std::string &text : texts) {
        lines.emplace_back(text);
        ApptInfo info;
        ReadAppt(info, context, lines.back());
    }
    CategoryTables tables;
    tables.scan(lines);
    return lines;
}

std::vector<std::string> sortedTexts(const std::vector<std::string> &texts, SortMode mode)
{
    std::vector<TimeString> lines = readLines(texts);
    std::stable_sort(lines.begin(), lines.end(), [mode](const TimeString &a, const TimeString &b) {
        return LineBefore(a, b, mode);
    });
    std::vector<std::string> result;
    for (const TimeString &line : lines)
        result.push_back(line.text);
    return result;
}

// A file with every ordering step at work; MIXED[i] is line i.
const std::vector<std::string> mixed = {
    "3/5/99 9:00 am Dentist", // 0: single, timed
    "\\C WORK=Work", // 1
    "* plain note", // 2
    "3/5/99 Untimed on the same day", // 3
    "*WORK call the office", // 4
    "1/2/99 8:00 am Earlier", // 5
    "\\C!HOME,3=Family", // 6
    "Just some text", // 7: no schedule
    "\\*HOME 2/1/99 Home thing", // 8
    "\\B12/25/70 Birthday", // 9
    "3/5/99+2 9:00 am Conference", // 10: single with following days
    "\\*WORK 3/5/99 7:00 am Work early", // 11
    "*HOME fix roof", // 12
    "12/25 Christmas", // 13: anniversary
};

std::vector<std::string> pick(std::initializer_list<int> order)
{
    std::vector<std::string> result;
    for (int i : order)
        result.push_back(mixed[static_cast<std::size_t>(i)]);
    return result;
}

} // namespace

TEST(SortLines, ByDateDefinitionsThenNotesByCategoryThenKindsBySortKeyAndTime)
{
    EXPECT_EQ(sortedTexts(mixed, SortMode::ByDate),
              pick({6, 1, 2, 12, 4, 5, 8, 11, 0, 10, 3, 13, 9, 7}));
}

TEST(SortLines, ByCategoryDefinitionsThenGroupsByCodeEachByKind)
{
    EXPECT_EQ(sortedTexts(mixed, SortMode::ByCategory),
              pick({6, 1, 2, 5, 0, 10, 3, 13, 9, 7, 12, 8, 4, 11}));
}

TEST(SortLines, DefinitionsOrderByTheCodeTheirTextNames)
{
    // Kind-0 lines whose time fields were never filled, or were overwritten by a later
    // read, still sort by the code they name.
    std::vector<TimeString> lines = readLines({"\\C ZZ=z", "\\CAA=a", "\\C!MM,2=m", "\\C BB"});
    for (TimeString &line : lines) {
        line.time = -1;
        line.alarmAdvance = -1;
    }
    std::stable_sort(lines.begin(), lines.end(), [](const TimeString &a, const TimeString &b) {
        return LineBefore(a, b, SortMode::ByDate);
    });
    EXPECT_EQ(lines[0].text, "\\CAA=a");
    EXPECT_EQ(lines[1].text, "\\C BB");
    EXPECT_EQ(lines[2].text, "\\C!MM,2=m");
    EXPECT_EQ(lines[3].text, "\\C ZZ=z");
}

TEST(SortLines, EqualLinesAreEquivalentNotOrdered)
{
    const std::vector<TimeString> lines
        = readLines({"\\C HOME=x", "\\C HOME=x", "3/5/99 a", "3/5/99 a"});
    for (SortMode mode : {SortMode::ByDate, SortMode::ByCategory}) {
        EXPECT_EQ(CompareLines(lines[0], lines[1], mode), 0);
        EXPECT_EQ(CompareLines(lines[2], lines[3], mode), 0);
    }
}

namespace {

const std::vector<std::string> fragments = {
    "\\C",
    "\\C!",
    " ",
    "HOME",
    "work",
    ",3",
    "=",
    "Desc",
    "*",
    "*WORK ",
    "\\*HOME ",
    "\\* \xC3\xA9t\xC3\xA9 ",
    "\\*\x80\x81 ",
    "3/5/99 ",
    "1/2/99 ",
    "12/25 ",
    "?/5 ",
    "9:00 am ",
    "7:00 am ",
    "+2 ",
    "-1 ",
    "\\B12/25/70 ",
    "Mon ",
    "every 2 days ",
    ">",
    "~",
    "x",
    "\\D3/5/99 ",
    "\\1",
    "\\I",
    "\xFF",
    "&",
};

void checkStrictWeakOrdering(const std::vector<TimeString> &lines, SortMode mode)
{
    const auto less
        = [mode](const TimeString &a, const TimeString &b) { return LineBefore(a, b, mode); };
    const auto equivalent
        = [&less](const TimeString &a, const TimeString &b) { return !less(a, b) && !less(b, a); };
    for (const TimeString &a : lines) {
        RC_ASSERT(!less(a, a));
        for (const TimeString &b : lines) {
            RC_ASSERT(CompareLines(a, b, mode) == -CompareLines(b, a, mode));
            for (const TimeString &c : lines) {
                if (less(a, b) && less(b, c))
                    RC_ASSERT(less(a, c));
                if (equivalent(a, b) && equivalent(b, c))
                    RC_ASSERT(equivalent(a, c));
            }
        }
    }
}

} // namespace

RC_GTEST_PROP(SortLines, ComparisonIsAStrictWeakOrderingOverRandomLines, ())
{
    std::vector<std::string> texts;
    for (int i = 0; i < 8; ++i) {
        const auto count = *rc::gen::inRange<std::size_t>(1, 6);
        std::string text;
        for (const std::string &part :
             *rc::gen::container<std::vector<std::string>>(count, rc::gen::elementOf(fragments)))
            text += part;
        texts.push_back(text);
    }
    const std::vector<TimeString> lines = readLines(texts);
    checkStrictWeakOrdering(lines, SortMode::ByDate);
    checkStrictWeakOrdering(lines, SortMode::ByCategory);
}
