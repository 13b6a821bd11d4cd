#include "settings/fontvalue.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

using namespace dvw;

namespace {

const FontSlot body {"Lucida Bright", 10, false, false};
const FontSlot heading {"Arial Bold", 10, true, false};

} // namespace

TEST(FontValue, FaceSizeAndStyleLettersAreRead)
{
    EXPECT_EQ(parseFontValue("Times New Roman, 12I", body),
              (FontSlot {"Times New Roman", 12, false, true}));
    EXPECT_EQ(parseFontValue("Arial, 12", body), (FontSlot {"Arial", 12, false, false}));
    EXPECT_EQ(parseFontValue("Arial, 12B", body), (FontSlot {"Arial", 12, true, false}));
    EXPECT_EQ(parseFontValue("Arial, 12BI", body), (FontSlot {"Arial", 12, true, true}));
    EXPECT_EQ(parseFontValue("Arial, 12IB", body), (FontSlot {"Arial", 12, true, true}));
    EXPECT_EQ(parseFontValue("Arial,12B", body), (FontSlot {"Arial", 12, true, false}));
}

TEST(FontValue, SizeOutsideFiveToThirtySixKeepsTheCurrentSize)
{
    EXPECT_EQ(parseFontValue("Courier, 40", body).size, 10);
    EXPECT_EQ(parseFontValue("Courier, 4", body).size, 10);
    EXPECT_EQ(parseFontValue("Courier, 5", body).size, 5);
    EXPECT_EQ(parseFontValue("Courier, 36", body).size, 36);
    EXPECT_EQ(parseFontValue("Courier, -12", body).size, 10);
    EXPECT_EQ(parseFontValue("Courier, 99999999999999999999B", body),
              (FontSlot {"Courier", 10, true, false}));
    EXPECT_EQ(parseFontValue("Courier, 40", body).face, "Courier");
}

TEST(FontValue, FaceAloneChangesOnlyTheFace)
{
    EXPECT_EQ(parseFontValue("Courier", heading), (FontSlot {"Courier", 10, true, false}));
    EXPECT_EQ(parseFontValue("Courier, ", heading), (FontSlot {"Courier", 10, true, false}));
    EXPECT_EQ(parseFontValue("Courier, big", heading), (FontSlot {"Courier", 10, true, false}));
}

TEST(FontValue, NothingAfterTheSizeKeepsBoldAndItalic)
{
    // A heading stored without "B" reads back bold.
    EXPECT_EQ(parseFontValue("Arial, 11", heading), (FontSlot {"Arial", 11, true, false}));
    // Any letters after the size decide both flags.
    EXPECT_EQ(parseFontValue("Arial, 11X", heading), (FontSlot {"Arial", 11, false, false}));
    EXPECT_EQ(parseFontValue("Arial, 11 I", heading), (FontSlot {"Arial", 11, false, true}));
    // Only the first two letters count.
    EXPECT_EQ(parseFontValue("Arial, 11XXB", body).bold, false);
}

TEST(FontValue, LongOrEmptyFacesNeverOverrunTheSlot)
{
    const std::string longFace(200, 'F');
    EXPECT_EQ(parseFontValue(longFace + ", 12", body).face, std::string(kFontFaceLength, 'F'));
    EXPECT_EQ(parseFontValue(", 12", body), (FontSlot {"Lucida Bright", 12, false, false}));
    EXPECT_EQ(parseFontValue("", body), body);
}

RC_GTEST_PROP(FontValue, WrittenValueReadsBackToTheSameSlot, ())
{
    const std::string face = *rc::gen::container<std::string>(
        *rc::gen::inRange<std::size_t>(1, kFontFaceLength + 1),
        rc::gen::oneOf(rc::gen::inRange('a', 'z'), rc::gen::just(' ')));
    const FontSlot font {face, *rc::gen::inRange(kFontSizeMin, kFontSizeMax + 1),
                         *rc::gen::arbitrary<bool>(), *rc::gen::arbitrary<bool>()};
    // Over a plain and over a bold slot alike: a plain font carries its own mark.
    RC_ASSERT(parseFontValue(formatFontValue(font), body) == font);
    RC_ASSERT(parseFontValue(formatFontValue(font), heading) == font);
}
