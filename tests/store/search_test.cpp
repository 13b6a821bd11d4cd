#include "store/search.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dvw;

namespace {

const TDate start(7, 12, 2026);

std::unique_ptr<TApptDocument> sample()
{
    return test::documentOf({"* Packing list for the trip", "12/8/2026 Call the Dentist",
                             "\\*WORK 12/9/2026 Budget review", "12/10/2026 dentist again",
                             "12/3/2026 Lead-in Dentist"},
                            start, 10, true);
}

int positionOfLine(const TApptDocument &doc, int line)
{
    const auto &index = doc.engine().index();
    for (std::size_t i = 0; i < index.size(); ++i)
        if ((index[i].kind == DatedEntry || index[i].kind == NoteEntry) && index[i].value == line)
            return static_cast<int>(i);
    return -1;
}

// The line shown at a display position.
int lineAt(const TApptDocument &doc, int position)
{
    return doc.engine().index()[static_cast<std::size_t>(position)].value;
}

} // namespace

TEST(SearchNext, FindsTheNextEntryWhoseWholeLineMatches)
{
    auto doc = sample();
    const auto &index = doc->engine().index();
    struct Case
    {
        const char *what;
        int fromLine; // -1: from the top
        int foundLine; // -1: no match
    };
    const Case cases[] = {
        {"dentist", -1, 1}, // a lower-case search finds the capitalised word
        {"DENTIST", 1, 3}, // and the other way round, from after the first match
        {"\\*work", -1, 2}, // a category code is part of the line
        {"12/10/2026", -1, 3}, // so is a date code
        {"packing", -1, 0}, // notes are entries too
        {"dentist", 3, -1}, // after the last match: nothing, no wrap to the first
        {"nowhere", -1, -1},   {"", -1, -1}, // an empty search does nothing
    };
    for (const Case &c : cases) {
        const int from = c.fromLine < 0 ? 0 : positionOfLine(*doc, c.fromLine);
        const int found = NextMatchInIndex(index, doc->lines(), from, c.what);
        EXPECT_EQ(found >= 0 ? lineAt(*doc, found) : -1, c.foundLine) << c.what;
    }
}

TEST(SearchNext, NeverLooksAtTheLastPositionOrALineThatIsGone)
{
    std::vector<TimeString> lines;
    lines.emplace_back("match");
    std::vector<IndexTy> index(3);
    index[1] = {DatedEntry, 0, 0, 0, 0, 0, 0};
    index[2] = {DatedEntry, 0, 0, 0, 0, 0, 0}; // the last position is never visited
    EXPECT_EQ(NextMatchInIndex(index, lines, 0, "match"), 1);
    EXPECT_EQ(NextMatchInIndex(index, lines, 1, "match"), -1);
    index[1].value = 7; // an index older than the lines
    EXPECT_EQ(NextMatchInIndex(index, lines, 0, "match"), -1);
    EXPECT_EQ(NextMatchInIndex({}, lines, 0, "match"), -1);
}

TEST(SearchNext, CalendarGoesDayByDayFromTheDayAfterTheSelectedOne)
{
    auto doc = sample();
    struct Case
    {
        TDate selected;
        const char *what;
        std::optional<TDate> found;
    };
    const Case cases[] = {
        {TDate(7, 12, 2026), "dentist", TDate(8, 12, 2026)},
        {TDate(8, 12, 2026), "dentist", TDate(10, 12, 2026)}, // the selected day is skipped
        {TDate(10, 12, 2026), "dentist", std::nullopt}, // no wrap
        {TDate(1, 1, 2020), "lead-in", TDate(3, 12, 2026)}, // from the start month's first day
        {TDate(3, 12, 2026), "lead-in", std::nullopt},
        {TDate(7, 12, 2026), "\\*WORK", TDate(9, 12, 2026)},
        {TDate(7, 12, 2026), "", std::nullopt},
    };
    for (const Case &c : cases) {
        const auto found = NextMatchingDay(doc->engine(), doc->lines(), c.selected, c.what);
        EXPECT_EQ(found.has_value(), c.found.has_value()) << c.what;
        if (found && c.found) {
            EXPECT_EQ(found->dayNumber, c.found->dayNumber) << c.what;
        }
    }
}

TEST(ViewFilters, SearchAndScreenTextsAreCutOnWholeCharacters)
{
    // 200 two-byte characters: a cut by bytes would split one.
    std::string typed;
    for (int i = 0; i < 200; ++i)
        typed += "\xC3\xA9";
    ViewFilters f;
    SetSearchText(f, typed);
    StartScreening(f, typed);
    EXPECT_EQ(f.searchText, typed.substr(0, 2 * searchTextLimit));
    EXPECT_EQ(f.screenText, typed.substr(0, 2 * screenTextLimit));
    EXPECT_TRUE(f.screening);
    Restore(f);
    EXPECT_FALSE(f.screening);
    EXPECT_EQ(f.screenText, typed.substr(0, 2 * screenTextLimit)); // kept for the next Screen
}

TEST(ViewFilters, ScreenThatMatchesNothingEmptiesTheListAndRestoreBringsItBack)
{
    auto doc = sample();
    const std::vector<IndexTy> before = doc->engine().index();
    ViewFilters f;
    StartScreening(f, "no line has this");
    doc->setViewFilters(f);
    doc->Rescan();
    for (const IndexTy &e : doc->engine().index())
        EXPECT_TRUE(e.kind != DatedEntry && e.kind != NoteEntry);
    StartScreening(f, "DENTIST");
    doc->setViewFilters(f);
    doc->Rescan();
    for (const IndexTy &e : doc->engine().index()) {
        if (e.kind == DatedEntry || e.kind == NoteEntry) {
            EXPECT_TRUE(LineMatches(doc->lines()[static_cast<std::size_t>(e.value)], "dentist"));
        }
    }
    Restore(f);
    doc->setViewFilters(f);
    doc->Rescan();
    ASSERT_EQ(doc->engine().index().size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(doc->engine().index()[i].value, before[i].value);
}

TEST(ViewFilters, PriorityLevelTwoWithAndWithoutUnprioritisedEntries)
{
    auto doc = test::documentOf({"12/8/2026 none", "\\1 12/8/2026 one", "\\2 12/8/2026 two",
                                 "\\3 12/8/2026 three", "\\4 12/8/2026 four"},
                                start, 3, true);
    const auto shown = [&doc](int level, bool hide) {
        ViewFilters f;
        f.priorityLevel = level;
        f.hideUnprioritized = hide;
        doc->setViewFilters(f);
        doc->Rescan();
        std::vector<int> lines;
        for (const IndexTy &e : doc->engine().index())
            if (e.kind == DatedEntry)
                lines.push_back(e.value);
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(shown(2, false), (std::vector<int> {0, 1, 2}));
    EXPECT_EQ(shown(2, true), (std::vector<int> {1, 2}));
    EXPECT_EQ(shown(4, false), (std::vector<int> {0, 1, 2, 3, 4}));
    EXPECT_EQ(shown(1, true), (std::vector<int> {1}));
}

// The full rebuild takes the screen's verdict while decoding; the one-line path of an
// appended line reads the text itself. Both must show the same.
TEST(ViewFilters, ScreenedRebuildEqualsLinesAppendedOneByOne)
{
    const std::vector<std::string> lines
        = {"* Packing list", "12/8/2026 Call the Dentist", "\\*WORK 12/9/2026 Budget",
           "!mon,wed Gym",   "12/10/2026 dentist again",   "* another note about work"};
    for (const char *screen : {"dentist", "\\*WORK", "o", "nothing at all"}) {
        ViewFilters f;
        StartScreening(f, screen);
        auto rebuilt = test::documentOf(lines, start, 30, true);
        rebuilt->setViewFilters(f);
        rebuilt->Rescan();
        auto appended = test::documentOf({}, start, 30, true);
        appended->setViewFilters(f);
        appended->Rescan();
        for (const std::string &line : lines)
            appended->AppendLine(line);
        const auto &a = rebuilt->engine().index();
        const auto &b = appended->engine().index();
        ASSERT_EQ(a.size(), b.size()) << screen;
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].kind, b[i].kind) << screen << " " << i;
            EXPECT_EQ(a[i].value, b[i].value) << screen << " " << i;
        }
    }
}
