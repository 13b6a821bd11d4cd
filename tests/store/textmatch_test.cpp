#include "store/textmatch.h"

#include <gtest/gtest.h>

using namespace dvw;

TEST(ContainsFolded, FoldsAsciiLettersOnly)
{
    EXPECT_TRUE(ContainsFolded("Dentist at 9", "dentist"));
    EXPECT_TRUE(ContainsFolded("\\C3 meeting", "\\c3")); // codes match too
    EXPECT_TRUE(ContainsFolded("anything", ""));
    EXPECT_FALSE(ContainsFolded("", "x"));
    EXPECT_FALSE(ContainsFolded("\xC3\x84rzte", "\xC3\xA4rzte")); // only ASCII folds
    EXPECT_FALSE(ContainsFolded("[dentist", "{dentist")); // '[' is not a letter
}

TEST(CutToCharacters, CutsWholeUtf8Sequences)
{
    struct Case
    {
        std::string text;
        std::size_t max;
        std::string cut;
    };
    const Case cases[] = {
        {"abcdef", 3, "abc"},
        {"ab", 99, "ab"},
        {"a\xC3\xA9z", 2, "a\xC3\xA9"}, // é counts as one
        {"\xE2\x82\xAC\xE2\x82\xAC", 1, "\xE2\x82\xAC"}, // €
        {"\xF0\x9F\x8E\x82x", 1, "\xF0\x9F\x8E\x82"}, // a four-byte sequence
        {"\xE9t\xE9", 2, "\xE9t"}, // Windows-1252 bytes count one each
        {"\xE2\x82", 1, "\xE2"}, // a broken sequence: byte by byte
        {"abc", 0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CutToCharacters(c.text, c.max), c.cut) << c.text << " / " << c.max;
}
