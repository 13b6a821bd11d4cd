#include "store/filerules.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>
#include <vector>

using namespace dvw;
using namespace std::string_literals;
using Texts = std::vector<std::string>;

namespace {

// The texts that saving keeps, which reading the saved bytes must give back exactly.
Texts withoutDeleted(Texts texts)
{
    std::erase_if(texts, [](const std::string &text) { return text.starts_with('~'); });
    return texts;
}

} // namespace

TEST(SplitFileText, LineEndsAreCrLfOrLfButNeverALoneCr)
{
    EXPECT_EQ(SplitFileText("a\r\nb\nc"), (Texts {"a", "b", "c"}));
    EXPECT_EQ(SplitFileText("a\rb\r\n"), (Texts {"a\rb"}));
    EXPECT_EQ(SplitFileText("a\r\r\nb\r"), (Texts {"a\r", "b\r"}));
}

TEST(SplitFileText, EmptyLinesAreDropped)
{
    EXPECT_EQ(SplitFileText("\r\n\na\r\n\r\n\nb\n\n"), (Texts {"a", "b"}));
    EXPECT_EQ(SplitFileText(""), Texts {});
}

TEST(SplitFileText, AmpersandContinuesTheLineBeforeExceptOnTheFirstLine)
{
    EXPECT_EQ(SplitFileText("&first\r\n&more\r\nnext\r\n&\r\n&&x\r\n"),
              (Texts {"&first\r\nmore", "next\r\n\r\n&x"}));
    // A dropped empty line does not stop a continuation.
    EXPECT_EQ(SplitFileText("a\r\n\r\n&b\r\n"), (Texts {"a\r\nb"}));
}

TEST(SplitFileText, CtrlZIsRemovedOnlyAsTheVeryLastCharacter)
{
    EXPECT_EQ(SplitFileText("a\x1A\r\nb\x1A\r\n"), (Texts {"a\x1A", "b"}));
    EXPECT_EQ(SplitFileText("a\x1A"
                            "b"),
              (Texts {"a\x1A"
                      "b"}));
    EXPECT_EQ(SplitFileText("a\r\n&b\x1A"), (Texts {"a\r\nb"}));
    // The old end-of-file mark on a line of its own leaves no empty line behind.
    EXPECT_EQ(SplitFileText("a\r\n\x1A"), (Texts {"a"}));
    EXPECT_EQ(SplitFileText("a\x1A\x1A\r\n"), (Texts {"a\x1A"}));
}

TEST(JoinFileText, TextWithTwoLineBreaksIsThreeLinesAndReadsBack)
{
    const Texts texts {"3/5/99 Trip\r\nbring passport\r\n", "next"};
    EXPECT_EQ(JoinFileText(texts), "3/5/99 Trip\r\n&bring passport\r\n&\r\nnext\r\n");
    EXPECT_EQ(SplitFileText(JoinFileText(texts)), texts);
}

TEST(JoinFileText, DeletedLinesAreNotWritten)
{
    EXPECT_EQ(JoinFileText({"~gone\r\nwith its continuation", "kept\r\n~not deleted", "~"}),
              "kept\r\n&~not deleted\r\n");
    EXPECT_EQ(JoinFileText({}), "");
}

TEST(JoinFileText, TextsTheFileWouldMergeGetALeadingBlank)
{
    // The first line of a file may begin with "&": it reads back as it is.
    EXPECT_EQ(JoinFileText({"&first", "&later"}), "&first\r\n &later\r\n");
    EXPECT_EQ(JoinFileText({"~deleted", "&now first"}), "&now first\r\n");
    EXPECT_EQ(JoinFileText({"a", "\r\nb"}), "a\r\n \r\n&b\r\n");
}

TEST(JoinFileText, TrailingCtrlZOfTheLastTextSurvivesTheNextRead)
{
    const Texts texts {"a", "b\x1A"};
    EXPECT_EQ(JoinFileText(texts), "a\r\nb\x1A\r\n\x1A\r\n");
    EXPECT_EQ(SplitFileText(JoinFileText(texts)), texts);
}

RC_GTEST_PROP(FileText, SavedTextsReadBackUnchanged, ())
{
    // Bytes drawn mostly from the ones the file rules care about.
    const auto bytes = *rc::gen::container<std::string>(
        rc::gen::oneOf(rc::gen::element('a', '&', '~', '\r', '\n', '\x1A', '\0', ' '),
                       rc::gen::arbitrary<char>()));
    const Texts texts = SplitFileText(bytes);
    const std::string saved = JoinFileText(texts);
    RC_ASSERT(SplitFileText(saved) == withoutDeleted(texts));
    RC_ASSERT(JoinFileText(SplitFileText(saved)) == saved);
}

TEST(FileText, FilesThatAreNotAppointmentFilesRoundTrip)
{
    std::string binary;
    for (int round = 0; round < 64; ++round)
        for (int byte = 0; byte < 256; ++byte)
            binary.push_back(static_cast<char>((byte * 7 + round) % 256));
    const std::string nulsAndBadUtf8 = "x\0\0y\r\n\xC3\x28 \xFF\xFE\xED\xA0\x80\r\n\xF0\x9F"s;
    for (const std::string &bytes : {binary, nulsAndBadUtf8}) {
        const Texts texts = SplitFileText(bytes);
        EXPECT_EQ(SplitFileText(JoinFileText(texts)), withoutDeleted(texts));
    }
    // Already in saved form, they come back byte for byte.
    const std::string saved = nulsAndBadUtf8 + "\r\n";
    EXPECT_EQ(JoinFileText(SplitFileText(saved)), saved);
}

TEST(FileText, HugeLineAndMillionLinesRoundTripByteForByte)
{
    std::string hugeLine(10 * 1024 * 1024, 'x');
    for (std::size_t i = 1; i + 1 < hugeLine.size(); i += 4099)
        hugeLine[i] = static_cast<char>(i % 256 == '\n' ? '\r' : i % 256);
    hugeLine += "\r\n";
    const Texts one = SplitFileText(hugeLine);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(JoinFileText(one), hugeLine);

    std::string manyLines;
    for (int i = 0; i < 1000000; ++i)
        manyLines += (i % 3 == 2 ? "&" : "L") + std::to_string(i) + "\r\n";
    const Texts many = SplitFileText(manyLines);
    EXPECT_EQ(many.size(), 666667u);
    EXPECT_EQ(JoinFileText(many), manyLines);
}

TEST(BackupPath, ReplacesTheExtensionOfTheFileName)
{
    EXPECT_EQ(BackupPath("NOTES.APT"), "NOTES.BAK");
    EXPECT_EQ(BackupPath("/home/ann/NOTES.APT"), "/home/ann/NOTES.BAK");
    EXPECT_EQ(BackupPath("MY.NOTES.APT"), "MY.NOTES.BAK");
    EXPECT_EQ(BackupPath("NOTES"), "NOTES.BAK");
    EXPECT_EQ(BackupPath("my.dir/NOTES"), "my.dir/NOTES.BAK");
    EXPECT_EQ(BackupPath("my.dir/NOTES.APT"), "my.dir/NOTES.BAK");
    EXPECT_EQ(BackupPath("NOTES."), "NOTES.BAK");
}

TEST(BackupPath, NeverNamesTheFileItselfOrAHiddenFilesNameOnly)
{
    EXPECT_EQ(BackupPath("NOTES.BAK"), "NOTES.BAK.BAK");
    EXPECT_EQ(BackupPath("dir/.notes"), "dir/.notes.BAK");
    EXPECT_EQ(BackupPath("dir/.notes.apt"), "dir/.notes.BAK");
}

TEST(NormaliseInsertedText, BareLineFeedsBecomeCrLf)
{
    EXPECT_EQ(NormaliseInsertedText("a\nb\r\nc\rd\n"), "a\r\nb\r\nc\rd\r\n");
}

TEST(NormaliseInsertedText, TextsTheFileWouldMergeOrDropGetALeadingBlank)
{
    EXPECT_EQ(NormaliseInsertedText("&x"), " &x");
    EXPECT_EQ(NormaliseInsertedText("~x"), " ~x");
    EXPECT_EQ(NormaliseInsertedText("\nx"), " \r\nx");
    EXPECT_EQ(NormaliseInsertedText("x&~"), "x&~");
    EXPECT_EQ(NormaliseInsertedText(""), "");
}
