#include "store/linechange.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace dvw;

namespace {

// Few distinct texts, so that equal lines stand in many places and a diff can pair the
// wrong ones.
std::vector<std::string> textsOf(const std::vector<std::uint8_t> &picks)
{
    std::vector<std::string> lines;
    for (std::uint8_t p : picks)
        lines.push_back(std::string(1, static_cast<char>('a' + p % 5))
                        + (p % 7 == 0 ? "\r\n&x" : ""));
    return lines;
}

// One edit of the kinds the program makes: replace, insert, remove one line or many, sort.
void edit(std::vector<std::string> &lines, std::uint8_t op, std::uint8_t where)
{
    const std::size_t at = lines.empty() ? 0 : where % lines.size();
    switch (op % 5) {
    case 0:
        if (!lines.empty())
            lines[at] = "~" + lines[at];
        break;
    case 1:
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     "new " + std::to_string(where));
        break;
    case 2:
        // Archived: every line of one text goes.
        std::erase_if(lines, [where](const std::string &l) { return l[0] == 'a' + where % 5; });
        break;
    case 3:
        lines.push_back("appended");
        break;
    default:
        std::sort(lines.begin(), lines.end());
        break;
    }
}

} // namespace

RC_GTEST_PROP(LineChangeProperty, DiffAppliedGivesTheLinesAfterAndItsInverseTheLinesBefore,
              (const std::vector<std::uint8_t> &picks, const std::vector<std::uint8_t> &ops))
{
    const std::vector<std::string> before = textsOf(picks);
    std::vector<std::string> after = before;
    for (std::size_t i = 0; i + 1 < ops.size(); i += 2)
        edit(after, ops[i], ops[i + 1]);
    const LineChange change = DiffLines(before, after);
    RC_ASSERT(change.empty() == (before == after));
    for (std::size_t i = 1; i < change.runs.size(); ++i)
        RC_ASSERT(change.runs[i - 1].at + change.runs[i - 1].removed.size() <= change.runs[i].at);
    std::vector<std::string> forward = before;
    ApplyLineChange(forward, change);
    RC_ASSERT(forward == after);
    std::vector<TimeString> table;
    for (const std::string &text : after)
        table.emplace_back(text);
    RC_ASSERT(ChangeFits(table, change.inverse()));
    ApplyLineChange(table, change.inverse());
    RC_ASSERT(LineTexts(table) == before);
}

TEST(LineChange, ArchivedLinesAreRunsOfRemovedLinesOnly)
{
    const std::vector<std::string> before = {"a", "x1", "b", "c", "x2", "x3", "d"};
    const std::vector<std::string> after = {"a", "b", "c", "d"};
    const LineChange change = DiffLines(before, after);
    ASSERT_EQ(change.runs.size(), 2u);
    EXPECT_EQ(change.runs[0], (LineRun {1, {"x1"}, {}}));
    EXPECT_EQ(change.runs[1], (LineRun {4, {"x2", "x3"}, {}}));
}

TEST(LineChange, ALineEditedAmongEqualLinesKeepsOnlyThatLine)
{
    const std::vector<std::string> before(50000, "same");
    std::vector<std::string> after = before;
    after[30000] = "edited";
    const LineChange change = DiffLines(before, after);
    ASSERT_EQ(change.runs.size(), 1u);
    EXPECT_EQ(change.runs[0], (LineRun {30000, {"same"}, {"edited"}}));
}

TEST(LineChange, AChangeThatIsNeitherInsertNorRemoveIsOneRunOfTheMiddle)
{
    const std::vector<std::string> before = {"a", "b", "c", "z"};
    const std::vector<std::string> after = {"a", "c", "q", "b", "r", "z"};
    const LineChange change = DiffLines(before, after);
    ASSERT_EQ(change.runs.size(), 1u);
    EXPECT_EQ(change.runs[0], (LineRun {1, {"b", "c"}, {"c", "q", "b", "r"}}));
}
