// Taking one line out of a document patches its derived tables instead of rebuilding
// them; whatever the lines, the patched tables equal a full rebuild of what is left.
#include "../linegenerators.h"
#include "../testdocuments.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace dvw;

namespace {

const TDate start(3, 2, 2000);
constexpr int windowDays = 40;

// Lines that land in the window, notes and reminders of several categories that mix in
// the notes list, and the definitions of those categories.
const std::vector<std::string> windowLines = {
    "\\C!HOME,3=Home",
    "\\C!WORK,5=Work",
    "\\C!ZONE=Zone",
    "\\C!HOME=again",
    "\\C KEPT=hidden",
    "*WORK call",
    "*HOME attic",
    "*KEPT away",
    "* plain",
    ">* done note",
    "\\*HOME 2/10/00 -10 10:00 late",
    "\\*ZONE 2/9/00 -10 9:00 early",
    "\\*WORK 2/11/00 -10 Zed",
    "2/5/00 Dentist",
    "2/5/00 Dentist",
    "\\N1/28/00 Tax",
    "\\N!FRI nag",
    "!THU Gym",
    "!2D water",
    "\\X2/9/00 !1D daily",
    "\\B2/10/1980 -4 Ann ()",
    "~ deleted",
};

void addValues(std::string &out, std::initializer_list<long long> values)
{
    for (const long long v : values)
        out += std::to_string(v) + ",";
    out += ";";
}

void addCell(std::string &out, const std::vector<Appt> &cell)
{
    for (const Appt &a : cell)
        addValues(out, {a.date.dayNumber, a.done, a.line});
    out += "|";
}

// Every derived table as text, so that two documents compare whole.
std::string tablesOf(const TApptDocument &doc)
{
    const OccurrenceEngine &e = doc.engine();
    std::string out;
    for (const IndexTy &i : e.index())
        addValues(out, {i.kind, i.value, i.month, i.day, i.mark, i.colour, i.age});
    addValues(out, {e.firstDayHeading(), e.lastPosition(), e.locatedPosition(), e.datedCount()});
    addCell(out, e.notes());
    for (int d = 1; d <= 31; ++d)
        addCell(out, e.leadInCell(d));
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            addCell(out, e.dayCell(m, d));
            addValues(out, {e.dayPosition(m, d)});
        }
    for (const CatStruct &c : doc.categories())
        addValues(out, {c.packedCode, c.line, c.colour, c.selected, c.descriptionPos});
    for (const CatColorStruct &c : doc.categoryColours())
        addValues(out, {c.packedCode, c.colour});
    return out;
}

std::vector<std::string> textsOf(const TApptDocument &doc)
{
    std::vector<std::string> texts;
    for (const TimeString &line : doc.lines())
        texts.push_back(line.text);
    return texts;
}

// No table names a line past the end of the line table.
bool linesInTable(const TApptDocument &doc)
{
    const auto count = static_cast<std::int32_t>(doc.lines().size());
    const OccurrenceEngine &e = doc.engine();
    auto inTable = [count](const std::vector<Appt> &cell) {
        return std::all_of(cell.begin(), cell.end(),
                           [count](const Appt &a) { return a.line >= 0 && a.line < count; });
    };
    bool ok = inTable(e.notes());
    for (int d = 1; d <= 31; ++d)
        ok = ok && inTable(e.leadInCell(d));
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d)
            ok = ok && inTable(e.dayCell(m, d));
    for (const IndexTy &i : e.index())
        ok = ok && ((i.kind != DatedEntry && i.kind != NoteEntry) || i.value < count);
    for (const CatStruct &c : doc.categories())
        ok = ok && c.line < static_cast<std::uint32_t>(count);
    return ok;
}

// The tables a document of these lines has after a full rebuild, the located line as given.
std::string rebuiltTables(const TApptDocument &doc, bool allCategories, int locate)
{
    auto fresh = test::documentOf(textsOf(doc), start, windowDays, allCategories);
    fresh->engine().BuildIndex(locate);
    return tablesOf(*fresh);
}

} // namespace

rc::Gen<std::string> genWindowLine()
{
    return rc::gen::weightedOneOf<std::string>(
        {{3, rc::gen::elementOf(windowLines)}, {1, test::genLine()}});
}

// Random lines, then lines taken out and put in at random places, the first and the last
// among them: through the file view, or through an undo step (and sometimes its inverse).
RC_GTEST_PROP(OneLineChangeProperty, PatchedTablesEqualAFullRebuild, ())
{
    const bool allCategories = *rc::gen::arbitrary<bool>();
    const auto lines
        = *rc::gen::nonEmpty(rc::gen::container<std::vector<std::string>>(genWindowLine()));
    auto doc = test::documentOf(lines, start, windowDays, allCategories);
    const int changes = *rc::gen::inRange(1, 6);
    for (int c = 0; c < changes; ++c) {
        const auto count = static_cast<int>(doc->lines().size());
        const bool insert = count == 0 || *rc::gen::arbitrary<bool>();
        const int last = insert ? count : count - 1;
        const int at
            = *rc::gen::oneOf(rc::gen::just(0), rc::gen::just(last), rc::gen::inRange(0, last + 1));
        const bool viaUndo = *rc::gen::arbitrary<bool>();
        int located = insert ? at : 0;
        if (insert && !viaUndo) {
            doc->InsertLine(at, *genWindowLine());
        } else if (!viaUndo) {
            doc->RemoveLine(at);
        } else {
            const std::string text
                = insert ? *genWindowLine() : doc->lines()[static_cast<std::size_t>(at)].text;
            LineRun run {static_cast<std::size_t>(at), {}, {}};
            (insert ? run.inserted : run.removed).push_back(text);
            const LineChange change {{run}};
            doc->ApplyChange(change, true);
            located = at;
            if (*rc::gen::arbitrary<bool>()) {
                RC_ASSERT(linesInTable(*doc));
                RC_ASSERT(tablesOf(*doc) == rebuiltTables(*doc, allCategories, at));
                doc->ApplyChange(change.inverse(), false);
            }
        }
        RC_ASSERT(linesInTable(*doc));
        RC_ASSERT(tablesOf(*doc) == rebuiltTables(*doc, allCategories, located));
    }
}

// A removed definition takes its category away: the lines of that category are hidden
// and the definitions behind it move up.
TEST(RemoveLine, RemovedDefinitionHidesItsCategory)
{
    auto doc = test::documentOf({"\\C!WORK=Work", "*WORK call", "\\C!HOME=Home", "*HOME attic"},
                                start, windowDays);
    ASSERT_EQ(doc->engine().notes().size(), 2u);
    doc->RemoveLine(0);
    ASSERT_EQ(doc->engine().notes().size(), 1u);
    EXPECT_EQ(doc->engine().notes()[0].line, 2);
    ASSERT_EQ(doc->categories().size(), 1u);
    EXPECT_EQ(doc->categories()[0].line, 1u);
}
