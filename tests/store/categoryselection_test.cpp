#include "store/categoryselection.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

using namespace dvw;

namespace {

const TDate start(7, 12, 2026);

std::unique_ptr<TApptDocument> categoryDocument()
{
    auto doc
        = test::documentOf({"\\C!HOME,3= Family matters", "\\C WORK=Office",
                            "\\CGYM=no marker place", "\\*HOME 12/8/2026 dinner",
                            "\\*WORK 12/8/2026 meeting", "\\*GYM 12/8/2026 run", "12/8/2026 plain"},
                           start, 3);
    return doc;
}

std::vector<int> shownLines(TApptDocument &doc)
{
    doc.Rescan();
    std::vector<int> lines;
    for (const IndexTy &e : doc.engine().index())
        if (e.kind == DatedEntry)
            lines.push_back(e.value);
    std::sort(lines.begin(), lines.end());
    return lines;
}

int itemOf(const TApptDocument &doc, const char *code)
{
    for (std::size_t i = 0; i < doc.categories().size(); ++i)
        if (std::string(doc.categories()[i].code.data()).starts_with(code))
            return CategorySelection::firstCategoryItem + static_cast<int>(i);
    return -1;
}

} // namespace

TEST(CategorySelection, ItemsShowTheModeAndEachCategory)
{
    auto doc = categoryDocument();
    CategorySelection s(*doc);
    EXPECT_EQ(s.itemCount(), 5);
    EXPECT_FALSE(s.isSelected(CategorySelection::allItem));
    EXPECT_TRUE(s.isSelected(CategorySelection::defaultItem));
    EXPECT_TRUE(s.isSelected(itemOf(*doc, "HOME")));
    EXPECT_FALSE(s.isSelected(itemOf(*doc, "WORK")));
    EXPECT_FALSE(s.isSelected(99));
    EXPECT_FALSE(s.setSelected(99, true));
}

TEST(CategorySelection, SelectDeselectAndTheTwoModes)
{
    auto doc = categoryDocument();
    EXPECT_EQ(shownLines(*doc), (std::vector<int> {3, 6}));
    CategorySelection s(*doc);
    struct Step
    {
        const char *what; // a code, "all" or "default"
        bool on;
        std::vector<int> shown;
    };
    const Step steps[] = {
        {"WORK", true, {3, 4, 6}},     {"HOME", false, {4, 6}}, {"default", false, {4}},
        {"all", true, {3, 4, 5, 6}}, // "all" overrides every other choice
        {"WORK", false, {3, 4, 5, 6}}, {"all", false, {}},
    };
    for (const Step &step : steps) {
        const std::string what = step.what;
        const int item = what == "all" ? CategorySelection::allItem
            : what == "default"        ? CategorySelection::defaultItem
                                       : itemOf(*doc, step.what);
        ASSERT_TRUE(s.setSelected(item, step.on)) << what;
        EXPECT_EQ(s.isSelected(item), step.on) << what;
        EXPECT_EQ(shownLines(*doc), step.shown) << what << " " << step.on;
    }
    EXPECT_EQ(doc->lines()[0].text, "\\C HOME,3= Family matters");
    EXPECT_TRUE(doc->isChanged());
}

TEST(CategorySelection, DefinitionWithoutMarkerPlaceKeepsItsCode)
{
    auto doc = categoryDocument();
    CategorySelection s(*doc);
    ASSERT_TRUE(s.setSelected(itemOf(*doc, "GYM"), true));
    EXPECT_EQ(doc->lines()[2].text, "\\C!GYM=no marker place");
    ASSERT_TRUE(s.setSelected(itemOf(*doc, "GYM"), false));
    EXPECT_EQ(doc->lines()[2].text, "\\C GYM=no marker place");
    doc->ScanCategories();
    EXPECT_EQ(doc->categoryDescription(itemOf(*doc, "GYM") - 2), "no marker place");
}

TEST(CategorySelection, CancelPutsBackTheBytesTheTablesTheModeAndTheMark)
{
    auto doc = categoryDocument();
    const std::string bytes = doc->FileBytes();
    const std::vector<CatStruct> table = doc->categories();
    const std::vector<int> shown = shownLines(*doc);
    CategorySelection s(*doc);
    s.setSelected(itemOf(*doc, "GYM"), true);
    s.setSelected(itemOf(*doc, "HOME"), false);
    s.setSelected(itemOf(*doc, "WORK"), true);
    s.setSelected(CategorySelection::allItem, true);
    s.setSelected(CategorySelection::defaultItem, false);
    ASSERT_NE(doc->FileBytes(), bytes);
    s.cancel();
    EXPECT_EQ(doc->FileBytes(), bytes);
    EXPECT_FALSE(doc->isChanged());
    EXPECT_FALSE(doc->showsAllCategories());
    EXPECT_TRUE(doc->showsDefaultCategory());
    ASSERT_EQ(doc->categories().size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(doc->categories()[i].line, table[i].line);
        EXPECT_EQ(doc->categories()[i].selected, table[i].selected);
        EXPECT_EQ(doc->categories()[i].descriptionPos, table[i].descriptionPos);
    }
    EXPECT_EQ(shownLines(*doc), shown);
}

TEST(CategorySelection, CancelLeavesALineChangedBehindItsBack)
{
    auto doc = categoryDocument();
    CategorySelection s(*doc);
    s.setSelected(itemOf(*doc, "WORK"), true);
    doc->lineTable()[1].text = "\\C!WORK=Office, renamed";
    s.cancel();
    EXPECT_EQ(doc->lines()[1].text, "\\C!WORK=Office, renamed");
    EXPECT_TRUE(doc->isChanged());
}

TEST(NewDefinitionLine, TakesTheTextsAsTypedWithinTheirLimits)
{
    struct Case
    {
        std::string code;
        std::string description;
        std::string line;
    };
    const std::string long120(120, 'd');
    const Case cases[] = {
        {"home", "Family", "\\C home=Family"},
        {"ABCDEF", "x", "\\C ABCD=x"},
        {"", "", "\\C ="},
        {"\xC3\xA9t\xC3\xA9s", "y", "\\C \xC3\xA9t\xC3\xA9s=y"}, // four characters, six bytes
        {"\xC3\xA9t\xC3\xA9sX", "y", "\\C \xC3\xA9t\xC3\xA9s=y"},
        {"W", long120, "\\C W=" + std::string(99, 'd')},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NewDefinitionLine(c.code, c.description), c.line) << c.code;
}

TEST(NewDefinitionLine, AppendedDefinitionIsACategoryAtOnce)
{
    auto doc = categoryDocument();
    doc->AppendLine(NewDefinitionLine("trip", "Travel plans"));
    const int item = itemOf(*doc, "TRIP");
    ASSERT_GE(item, 0);
    const CatStruct &cat = doc->categories()[static_cast<std::size_t>(item - 2)];
    EXPECT_EQ(cat.selected, 0);
    EXPECT_EQ(cat.colour, 0u);
    EXPECT_EQ(doc->categoryDescription(item - 2), "Travel plans");
    EXPECT_TRUE(doc->isChanged());
}
