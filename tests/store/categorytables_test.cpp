#include "store/categorytables.h"

#include <gtest/gtest.h>

using namespace dvw;

namespace {

std::uint32_t pack(const char (&code)[5])
{
    std::uint32_t packed = 0;
    for (int i = 0; i < 4; ++i)
        packed = (packed << 8) | static_cast<unsigned char>(code[i]);
    return packed;
}

std::vector<TimeString> linesOf(std::initializer_list<const char *> texts)
{
    std::vector<TimeString> lines;
    for (const char *text : texts)
        lines.emplace_back(text);
    return lines;
}

} // namespace

TEST(ScanCategories, SelectedDefinitionWithColourAndDescription)
{
    auto lines = linesOf({"\\C!HOME,3= Family matters"});
    CategoryTables tables;
    tables.scan(lines);
    ASSERT_EQ(tables.categories().size(), 1u);
    const CatStruct &home = tables.categories()[0];
    EXPECT_STREQ(home.code.data(), "HOME");
    EXPECT_EQ(home.packedCode, pack("HOME"));
    EXPECT_EQ(home.selected, 1);
    EXPECT_EQ(home.colour, 3u);
    EXPECT_EQ(home.line, 0u);
    EXPECT_EQ(lines[0].text.substr(home.descriptionPos), "Family matters");
    ASSERT_EQ(tables.colours().size(), 1u);
    EXPECT_EQ(tables.colours()[0].colour, 3);
    // The sorts read the packed code back from the line's two halves.
    EXPECT_EQ(lines[0].kind, CategoryLine);
    EXPECT_EQ(lines[0].time, static_cast<std::int32_t>(pack("HOME") >> 16));
    EXPECT_EQ(lines[0].alarmAdvance, static_cast<std::int32_t>(pack("HOME") & 0xFFFF));
}

TEST(ScanCategories, CodesAreUpperCasedCutAndPadded)
{
    auto lines = linesOf({"\\C work=Office", "\\C ABCDEF=Long", "\\C   ab,0=Short", "\\C=Empty"});
    CategoryTables tables;
    tables.scan(lines);
    ASSERT_EQ(tables.categories().size(), 4u);
    // Ordered by packed code: the empty code is four blanks and sorts first.
    EXPECT_STREQ(tables.categories()[0].code.data(), "    ");
    EXPECT_STREQ(tables.categories()[1].code.data(), "AB  ");
    EXPECT_STREQ(tables.categories()[2].code.data(), "ABCD");
    EXPECT_STREQ(tables.categories()[3].code.data(), "WORK");
    EXPECT_EQ(tables.categories()[3].selected, 0);
    EXPECT_EQ(tables.categories()[3].line, 0u);
    EXPECT_TRUE(tables.colours().empty());
}

TEST(ScanCategories, DefinitionWithoutEqualsDefinesNothingButIsStillADefinitionLine)
{
    auto lines = linesOf({"\\C!HOME,3 Family", "\\c HOME=lower-case C is no definition"});
    lines[1].kind = Note;
    CategoryTables tables;
    tables.scan(lines);
    EXPECT_TRUE(tables.categories().empty());
    EXPECT_TRUE(tables.colours().empty());
    EXPECT_EQ(lines[0].kind, CategoryLine);
    EXPECT_EQ(lines[1].kind, Note);
    EXPECT_EQ(tables.find(pack("HOME")), -1);
}

TEST(ScanCategories, DuplicateCodesBothEnterAndLookupFindsTheFirst)
{
    auto lines = linesOf({"\\C ZED=z", "\\C DUP,2=first", "x", "\\C dup,4=second"});
    CategoryTables tables;
    tables.scan(lines);
    ASSERT_EQ(tables.categories().size(), 3u);
    const int dup = tables.find(pack("DUP "));
    ASSERT_EQ(dup, 0);
    EXPECT_EQ(tables.categories()[0].line, 1u);
    EXPECT_EQ(tables.categories()[1].line, 3u);
    EXPECT_EQ(tables.find(pack("ZED ")), 2);
    EXPECT_EQ(tables.find(pack("NONE")), -1);
    std::uint8_t colour = 0;
    ASSERT_TRUE(tables.colourOf(pack("DUP "), colour));
    EXPECT_EQ(colour, 2);
    EXPECT_FALSE(tables.colourOf(pack("ZED "), colour));
}

TEST(ScanCategories, ColourOutsideTheSettingsColoursDrawsAsColourZero)
{
    // 131 would otherwise look like a priority shade, 259 would wrap to 3.
    auto lines = linesOf({"\\C A,131=a", "\\C B,259=b", "\\C C,15=c"});
    CategoryTables tables;
    tables.scan(lines);
    std::uint8_t colour = 99;
    ASSERT_TRUE(tables.colourOf(pack("A   "), colour));
    EXPECT_EQ(colour, 0);
    ASSERT_TRUE(tables.colourOf(pack("B   "), colour));
    EXPECT_EQ(colour, 0);
    ASSERT_TRUE(tables.colourOf(pack("C   "), colour));
    EXPECT_EQ(colour, 15);
    EXPECT_EQ(tables.categories()[1].colour, 259u);
}

TEST(DefinitionMarker, RewritesTheMarkerPlace)
{
    std::string text = "\\C HOME=Family";
    EXPECT_EQ(SetDefinitionMarker(text, true), 0);
    EXPECT_EQ(text, "\\C!HOME=Family");
    EXPECT_EQ(SetDefinitionMarker(text, false), 0);
    EXPECT_EQ(text, "\\C HOME=Family");
    EXPECT_EQ(SetDefinitionMarker(text, false), 0);
    EXPECT_EQ(text, "\\C HOME=Family");
}

TEST(DefinitionMarker, DefinitionWithoutMarkerPlaceGetsOneAndKeepsItsCode)
{
    std::string text = "\\CHOME=Family";
    EXPECT_EQ(DefinitionCode(text), pack("HOME"));
    EXPECT_EQ(SetDefinitionMarker(text, false), 0);
    EXPECT_EQ(text, "\\CHOME=Family");
    EXPECT_EQ(SetDefinitionMarker(text, true), 1);
    EXPECT_EQ(text, "\\C!HOME=Family");
    EXPECT_EQ(DefinitionCode(text), pack("HOME"));
    EXPECT_EQ(SetDefinitionMarker(text, false), 0);
    EXPECT_EQ(text, "\\C HOME=Family");
    EXPECT_EQ(DefinitionCode(text), pack("HOME"));

    std::string bare = "\\C";
    EXPECT_EQ(SetDefinitionMarker(bare, true), 1);
    EXPECT_EQ(bare, "\\C!");
}
