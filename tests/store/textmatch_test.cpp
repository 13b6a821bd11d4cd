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

// The fast search agrees with a plain folded search over random texts of a small alphabet,
// where partial matches and both cases of the first letter are common.
TEST(ContainsFolded, AgreesWithAPlainFoldedSearch)
{
    const auto fold = [](std::string s) {
        for (char &c : s)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return s;
    };
    const char alphabet[] = "aAbB\xC3 ";
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    const auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[next() % 6];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string text = randomText(next() % 12);
        const std::string what = randomText(1 + next() % 4);
        const bool expected = fold(text).find(fold(what)) != std::string::npos;
        ASSERT_EQ(ContainsFolded(text, what), expected) << text << " / " << what;
    }
}
