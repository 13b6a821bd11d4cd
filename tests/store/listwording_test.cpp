#include "core/linereader.h"
#include "store/listwording.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"

#include <gtest/gtest.h>

using namespace dvw;

namespace {

IndexTy heading(int month, int day)
{
    IndexTy e;
    e.kind = DateHeading;
    e.month = static_cast<std::uint8_t>(month);
    e.day = static_cast<std::uint8_t>(day);
    return e;
}

// A document of these lines over a window; the lines are read as the file would be.
struct Doc
{
    explicit Doc(std::vector<std::string> texts, TDate start = TDate(1, 6, 2000), int days = 30)
        : doc(test::documentOf(std::move(texts), start, days))
    { }
    // The first dated entry as the list words it.
    std::string firstEntry(bool multiline) const
    {
        for (const IndexTy &e : doc->engine().index()) {
            if (e.kind == DatedEntry)
                return ListEntryText(doc->lines()[static_cast<std::size_t>(e.value)], e, multiline);
        }
        return "<none>";
    }
    std::unique_ptr<TApptDocument> doc;
};

} // namespace

TEST(ListWording, HeadingNamesMonthFirstOrDayFirst)
{
    const TDate start(1, 6, 2000);
    EXPECT_EQ(DateHeadingText(start, heading(6, 5), false), "Monday June 5, 2000");
    EXPECT_EQ(DateHeadingText(start, heading(6, 5), true), "Monday 5 June, 2000");
}

TEST(ListWording, HeadingBeforeTheStartDayBelongsToTheNextYear)
{
    const TDate start(15, 11, 2026);
    EXPECT_EQ(HeadingYear(start, 11, 15), 2026u);
    EXPECT_EQ(HeadingYear(start, 11, 14), 2027u);
    EXPECT_EQ(HeadingYear(start, 12, 31), 2026u);
    EXPECT_EQ(DateHeadingText(start, heading(1, 3), false), "Sunday January 3, 2027");
}

TEST(ListWording, BirthdayAgeReplacesTheFirstParenthesisedRunOnly)
{
    EXPECT_EQ(WithAge("Ann (turns) (x)", 50), "Ann (50) (x)");
    EXPECT_EQ(WithAge("Ann ()", 7), "Ann (7)");
    EXPECT_EQ(WithAge("Ann", 50), "Ann");
    EXPECT_EQ(WithAge("Ann (no close", 50), "Ann (no close");
    EXPECT_EQ(WithAge("Ann ) then (", 50), "Ann ) then (");
}

TEST(ListWording, BirthdayBornIn1950ShowsFiftyOnItsDayIn2000)
{
    Doc withRemark({"\\B6/5/1950 Carl (remark)"});
    EXPECT_EQ(withRemark.firstEntry(false), "Carl (50)");
    Doc plain({"\\B6/5/1950 Carl"});
    EXPECT_EQ(plain.firstEntry(false), "Carl");
}

TEST(ListWording, OnlyBirthdaysGetTheirAgePutIn)
{
    Doc single({"6/5/2000 Meeting (room 4)"});
    EXPECT_EQ(single.firstEntry(false), "Meeting (room 4)");
}

TEST(ListWording, WithoutMultilineAContinuedEntryShowsItsFirstLine)
{
    Doc continued({"6/5/2000 Trip\r\nbring the map\r\nand boots"});
    EXPECT_EQ(continued.firstEntry(false), "Trip");
    EXPECT_EQ(continued.firstEntry(true), "Trip\r\nbring the map\r\nand boots");
}

TEST(ListWording, AgeGoesInBeforeTheTextIsCutToItsFirstLine)
{
    Doc spanning({"\\B6/5/1950 Carl (turns\r\nsomething)\r\nparty"});
    EXPECT_EQ(spanning.firstEntry(false), "Carl (50)");
    EXPECT_EQ(spanning.firstEntry(true), "Carl (50)\r\nparty");
}

TEST(ListWording, EntryTextStartsWhereTheDescriptionBegins)
{
    TimeString line("3/5/99 9:00 am Dentist");
    line.textStart = 7;
    EXPECT_EQ(EntryText(line), "9:00 am Dentist");
    line.textStart = 400; // a stale offset never reads past the text
    EXPECT_EQ(EntryText(line), "");
}
