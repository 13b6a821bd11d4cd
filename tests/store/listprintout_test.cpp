#include "store/decodedtext.h"
#include "store/listprintout.h"
#include "testdocuments.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>
#include <vector>

using namespace dvw;

namespace {

TDate ymd(int year, int month, int day)
{
    return TDate(static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(month),
                 static_cast<std::uint32_t>(year));
}

// Every character 5 units wide; headings and entries 16 high, the caption 10.
const FixedWidthMeasure measure(5, {16, 16, 10});

// A page of 400 x 300 units without margins and a base height of 16: lines of 20, inner
// margins of 10, 280 units of a column for items. Columns of 400 / n, 96% of it for text.
ListPrintSetup smallPage(int columns, bool byPages, int pages)
{
    ListPrintSetup s;
    s.device = {0, 0, 400, 300};
    s.columns = columns;
    s.byPages = byPages;
    s.pages = pages;
    s.caption = "Pat 1/3/00";
    s.baseHeight = 16;
    return s;
}

struct Printed
{
    std::unique_ptr<TApptDocument> doc;
    std::unique_ptr<ListPrintout> printout;
};

Printed printOf(std::vector<std::string> lines, const ListPrintSetup &setup, bool notes = false,
                TDate through = ymd(2000, 1, 31))
{
    Printed p;
    p.doc = test::documentOf(std::move(lines), ymd(2000, 1, 3), 60);
    ListPrintRange range;
    range.from = ymd(2000, 1, 3);
    range.through = through;
    range.byPages = setup.byPages;
    range.includeNotes = notes;
    // What could not fit on the pages is not even taken, as printing does.
    p.printout = std::make_unique<ListPrintout>(
        ListPrintSourceOf(*p.doc, range, MostPrintableItems(setup)), setup, measure);
    return p;
}

std::vector<std::string> dayOf(int day, int entries, const std::string &what = "Entry")
{
    std::vector<std::string> lines;
    for (int i = 0; i < entries; ++i)
        lines.push_back("1/" + std::to_string(day) + "/2000 " + what + " "
                        + std::string(1, static_cast<char>('a' + i / 26))
                        + std::string(1, static_cast<char>('a' + i % 26)));
    return lines;
}

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// "kind@column" for each item of a page, "D" date heading, "C" continued, "E" entry.
std::string shapeOf(const ListPage &page)
{
    std::string out;
    int column = 0;
    for (const PlacedItem &item : page.items) {
        if (item.column != column) {
            out += "|";
            column = item.column;
        }
        out += item.kind == PrintItemKind::Date     ? "D"
            : item.kind == PrintItemKind::Continued ? "C"
            : item.kind == PrintItemKind::Notes     ? "N"
                                                    : "E";
    }
    return out;
}

struct PageCase
{
    const char *what;
    std::vector<std::string> lines;
    int columns;
    bool byPages;
    int pages;
    std::vector<std::string> shapes; // one per page
    PrintEnd end;
};

// A column takes items while their heights (plus a line above each later heading, plus
// "Continued" above an entry that opens the column) stay below 280: thirteen lines.
TEST(ListPrintout, PagesAndColumnsBreakAsTheRulesSay)
{
    const std::string e12(12, 'E');
    const std::vector<PageCase> cases = {
        {"two columns, one page: days that do not fit are not printed",
         concat({dayOf(3, 5), dayOf(4, 5), dayOf(5, 5), dayOf(6, 5), dayOf(7, 5)}),
         2,
         true,
         1,
         {"DEEEEEDEEEEE|DEEEEEDEEEEE"},
         PrintEnd::Done},
        {"a day over a middle column goes on after Continued",
         concat({dayOf(3, 3), dayOf(4, 14)}),
         2,
         true,
         1,
         {"DEEEDEEEEEEE|CEEEEEEE"},
         PrintEnd::Done},
        {"a day over the last column starts the next page with its heading",
         concat({dayOf(3, 5), dayOf(4, 10)}),
         1,
         false,
         100,
         {"DEEEEE", "D" + std::string(10, 'E')},
         PrintEnd::Done},
        {"a day longer than a page goes on after Continued",
         dayOf(3, 20),
         1,
         false,
         100,
         {"D" + e12, "C" + std::string(8, 'E')},
         PrintEnd::Done},
        {"a heading is not left at the bottom of a middle column",
         concat({dayOf(3, 10), dayOf(4, 2)}),
         2,
         false,
         100,
         {"D" + std::string(10, 'E') + "|DEE"},
         PrintEnd::Done},
        {"by pages, exactly that many pages print",
         dayOf(3, 2),
         1,
         true,
         3,
         {"DEE", "", ""},
         PrintEnd::Done},
        {"columns outside their limits print as one",
         dayOf(3, 2),
         7,
         true,
         1,
         {"DEE"},
         PrintEnd::Done},
        {"pages outside their limits print as one",
         dayOf(3, 2),
         1,
         true,
         250,
         {"DEE"},
         PrintEnd::Done},
    };
    for (const PageCase &c : cases) {
        SCOPED_TRACE(c.what);
        Printed p = printOf(c.lines, smallPage(c.columns, c.byPages, c.pages));
        const int pages = p.printout->pageCount();
        ASSERT_EQ(pages, static_cast<int>(c.shapes.size()));
        for (int i = 0; i < pages; ++i)
            EXPECT_EQ(shapeOf(*p.printout->page(i + 1)), c.shapes[static_cast<std::size_t>(i)])
                << "page " << i + 1;
        EXPECT_EQ(p.printout->end(), c.end);
    }
}

TEST(ListPrintout, ItemsStandWhereTheirLinesAreDrawn)
{
    Printed p = printOf(concat({dayOf(3, 2), dayOf(4, 1)}), smallPage(2, true, 1));
    const ListPage &page = *p.printout->page(1);
    ASSERT_EQ(page.items.size(), 5u);
    // Column 0 starts at the inner margin; a later heading has a blank line above it.
    const std::vector<int> ys = {10, 30, 50, 90, 110};
    for (std::size_t i = 0; i < ys.size(); ++i) {
        EXPECT_EQ(page.items[i].y, ys[i]) << i;
        EXPECT_EQ(page.items[i].x, 10) << i;
        EXPECT_EQ(page.items[i].height, 20) << i;
    }
    EXPECT_EQ(EncodeUtf8(page.items[0].lines[0]), "Monday January 3, 2000");
    EXPECT_EQ(page.items[0].date, ymd(2000, 1, 3));
    EXPECT_EQ(page.items[1].line, 0);
    const ListGeometry &g = p.printout->geometry();
    EXPECT_EQ(g.columnWidth, 200);
    EXPECT_EQ(g.textWidth, 192);
    EXPECT_EQ(g.lineHeight, 20);
    EXPECT_EQ(g.innerMargin, 10);
    EXPECT_EQ(g.usableHeight, 280);
}

TEST(ListPrintout, AnEntryTallerThanAColumnIsCutToFitAlone)
{
    // 40 words of 9 characters, three a line in 192 units (5 each, from the indent up to
    // 188): 14 lines, of which 12 fit in a column under a "Continued" line.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "wordwords ";
    Printed p = printOf({"1/3/2000 " + text}, smallPage(2, false, 100));
    ASSERT_EQ(p.printout->pageCount(), 1);
    const ListPage &page = *p.printout->page(1);
    ASSERT_EQ(shapeOf(page), "DE");
    const PlacedItem &entry = page.items[1];
    EXPECT_TRUE(entry.cut);
    EXPECT_EQ(entry.lines.size(), 12u);
    EXPECT_LT(entry.y + entry.height, 300 - 10);
}

TEST(ListPrintout, AColumnThatCannotTakeItsFirstItemEndsThePrintout)
{
    struct Case
    {
        int height; // of the page: 20 less for items
        int pages; // laid out before "Won't fit."
    };
    // 15 units take nothing; 30 take a heading but not "Continued" with an entry.
    for (const Case c : {Case {35, 0}, Case {50, 1}}) {
        ListPrintSetup setup = smallPage(1, false, 100);
        setup.device = {0, 0, 400, c.height};
        Printed p = printOf(dayOf(3, 3), setup);
        EXPECT_EQ(p.printout->pageCount(), c.pages) << c.height;
        EXPECT_EQ(p.printout->end(), PrintEnd::WontFit) << c.height;
        EXPECT_EQ(p.printout->page(c.pages + 1), nullptr) << c.height;
    }
}

TEST(ListPrintout, ByEndDateStopsAtAHundredPagesAndSaysSo)
{
    std::vector<std::string> lines;
    for (int day = 3; day <= 31; ++day) {
        const auto more = dayOf(day, 60);
        lines.insert(lines.end(), more.begin(), more.end());
    }
    Printed p = printOf(lines, smallPage(1, false, 100));
    EXPECT_EQ(p.printout->pageCount(), maxPrintPages);
    EXPECT_EQ(p.printout->end(), PrintEnd::Cut);
}

TEST(ListPrintout, AskingForALaterPageLaysOutThePagesBeforeIt)
{
    Printed p = printOf(dayOf(3, 40), smallPage(1, false, 100));
    ASSERT_NE(p.printout->page(3), nullptr);
    EXPECT_EQ(p.printout->pagesLaidOut(), 3);
    EXPECT_EQ(shapeOf(*p.printout->page(2)), "C" + std::string(12, 'E'));
    EXPECT_EQ(p.printout->page(5), nullptr);
}

TEST(ListPrintout, PrintedCopyDiffersFromTheFileWhereTheRulesSay)
{
    struct Case
    {
        const char *what;
        std::vector<std::string> lines;
        bool notes;
        std::vector<std::string> texts; // first lines of the items, in order
    };
    const std::vector<Case> cases = {
        {"a birthday prints its age, the line keeps its text",
         {"\\B1/5/1950 Ann (born 1950)"},
         false,
         {"Wednesday January 5, 2000", "Ann (50)"}},
        {"a day whose entries are all marked do-not-print has no heading",
         {"\\P1/4/2000 hidden", "\\P1/4/2000 hidden too", "1/5/2000 shown"},
         false,
         {"Wednesday January 5, 2000", "shown"}},
        {"the notes come first when asked",
         {"* call mum", "1/5/2000 shown"},
         true,
         {"Notes", "call mum", "Wednesday January 5, 2000", "shown"}},
        {"and not otherwise",
         {"* call mum", "1/5/2000 shown"},
         false,
         {"Wednesday January 5, 2000", "shown"}},
        {"days before the start date are not printed",
         {"1/1/2000 early", "1/5/2000 shown"},
         false,
         {"Wednesday January 5, 2000", "shown"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Printed p = printOf(c.lines, smallPage(1, true, 1), c.notes);
        std::vector<std::string> texts;
        for (const PlacedItem &item : p.printout->page(1)->items)
            texts.push_back(EncodeUtf8(item.lines.at(0)));
        EXPECT_EQ(texts, c.texts);
    }
    Printed birthday = printOf({"\\B1/5/1950 Ann (born 1950)"}, smallPage(1, true, 1));
    EXPECT_NE(birthday.doc->lines()[0].text.find("(born 1950)"), std::string::npos);
}

TEST(ListPrintout, StartAndEndAreHeldInsideTheWindow)
{
    struct Case
    {
        const char *what;
        TDate from, through;
        std::vector<std::string> dates; // the date headings printed
    };
    const std::vector<std::string> lines = {"1/3/2000 a", "1/10/2000 b", "3/1/2000 c"};
    const std::vector<Case> cases = {
        {"a start before the window starts at its first day",
         ymd(1990, 1, 1),
         ymd(2000, 1, 3),
         {"Monday January 3, 2000"}},
        {"an end after the window ends at its last day",
         ymd(2000, 1, 4),
         ymd(2030, 1, 1),
         {"Monday January 10, 2000", "Wednesday March 1, 2000"}},
        {"a start on an empty day moves to the next day with entries",
         ymd(2000, 1, 4),
         ymd(2000, 1, 12),
         {"Monday January 10, 2000"}},
        {"no dated day between start and end prints no dated part",
         ymd(2000, 1, 4),
         ymd(2000, 1, 8),
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = test::documentOf(lines, ymd(2000, 1, 3), 60);
        ListPrintRange range;
        range.from = c.from;
        range.through = c.through;
        range.byPages = false;
        std::vector<std::string> dates;
        for (const PrintSourceItem &item : ListPrintSourceOf(*doc, range))
            if (item.kind == PrintItemKind::Date)
                dates.push_back(item.text);
        EXPECT_EQ(dates, c.dates);
    }
}

TEST(ListPrintout, TheWalletPageAlwaysHasItsBorderAndTheCaptionSitsAcrossTheTop)
{
    struct Case
    {
        const char *what;
        bool wallet, border;
        bool framed;
    };
    for (const Case &c : {Case {"list without border", false, false, false},
                          Case {"list with border", false, true, true},
                          Case {"wallet without border", true, false, true}}) {
        ListPrintSetup s = smallPage(1, true, 1);
        s.wallet = c.wallet;
        s.border = c.border;
        s.walletPlace = {1, 0.5, 3, 2}; // inches
        const ListGeometry g = ListGeometryOf(s);
        EXPECT_EQ(g.border, c.framed) << c.what;
        if (c.wallet) {
            EXPECT_EQ(g.page, (PrintRect {106, 58, 394, 250})) << c.what;
        }
    }
    Printed p = printOf(dayOf(3, 1), smallPage(1, true, 1));
    // "Pat 1/3/00" is 10 characters of 5 units: 50 wide, right edge at 400 - 60 + 50.
    EXPECT_EQ(p.printout->caption().box, (PrintRect {340, -5, 390, 5}));
    EXPECT_EQ(PrintCaptionText("", "1/3/00"), " 1/3/00");
}

struct WrapCase
{
    const char *what;
    std::u32string text;
    double width;
    int maxLines;
    std::vector<std::u32string> lines;
    bool cut;
};

// Characters 5 wide; a line of the first indent 10 holds what ends before width - 14.
TEST(WrapText, BreaksAfterBlanksOnWholeCharacters)
{
    const std::vector<WrapCase> cases = {
        {"fits", U"short text", 200, 10, {U"short text"}, false},
        {"breaks after the last blank", U"aaaa bbbb cccc", 70, 10, {U"aaaa bbbb", U"cccc"}, false},
        {"a word longer than a line breaks where it stops fitting",
         U"abcdefghijkl",
         70,
         10,
         {U"abcdefghijk", U"l"},
         false},
        {"at least one character a line", U"abc", 1, 10, {U"a", U"b", U"c"}, false},
        {"a line break ends a line", U"one\r\ntwo", 200, 10, {U"one", U"two"}, false},
        {"blanks after a break are skipped", U"aaaa     bbbb", 70, 10, {U"aaaa", U"bbbb"}, false},
        {"an empty text is one empty line", U"", 200, 10, {U""}, false},
        {"lines beyond the limit are cut", U"a b c d", 20, 2, {U"a", U"b"}, true},
        {"characters beyond the 16 bits count once",
         U"\U0001F600\U0001F600",
         200,
         10,
         {U"\U0001F600\U0001F600"},
         false},
    };
    for (const WrapCase &c : cases) {
        const WrappedText w
            = WrapText(c.text, measure, PrintFont::Entry, c.width, 10, 20, c.maxLines);
        EXPECT_EQ(w.lines, c.lines) << c.what;
        EXPECT_EQ(w.cut, c.cut) << c.what;
    }
}

TEST(DecodeText, ValidUtf8StaysAndAnythingElseIsWindows1252)
{
    EXPECT_EQ(DecodeText("caf\xC3\xA9"), U"caf\u00E9");
    EXPECT_EQ(DecodeText("caf\xE9 \x80"), U"caf\u00E9 \u20AC");
    EXPECT_EQ(DecodeText("\x81\xED\xA0\x80"), U"\u0081\u00ED\u00A0\u20AC"); // a surrogate
    EXPECT_EQ(DecodeText("\xC0\xAF"), U"\u00C0\u00AF"); // overlong
    for (const std::u32string &s : {std::u32string(U"x\u00E9\u20AC\U0001F600")})
        EXPECT_EQ(DecodeText(EncodeUtf8(s)), s);
}

// Every entry the list shows in the printed days appears once, in list order, unless the
// page count cuts it off; cut entries only at the end.
RC_GTEST_PROP(ListPrintout, EveryEntryPrintsOnceInListOrder, ())
{
    const int days = *rc::gen::inRange(1, 20);
    const int columns = *rc::gen::inRange(1, 5);
    const bool byPages = *rc::gen::arbitrary<bool>();
    const int pages = *rc::gen::inRange(1, 6);
    std::vector<std::string> lines;
    const int count = *rc::gen::inRange(0, 80);
    for (int i = 0; i < count; ++i) {
        const int day = *rc::gen::inRange(3, 3 + days);
        const int words = *rc::gen::inRange(0, 30);
        const bool hidden = *rc::gen::inRange(0, 8) == 0;
        std::string text
            = (hidden ? "\\P1/" : "1/") + std::to_string(day) + "/2000 #" + std::to_string(i);
        for (int w = 0; w < words; ++w)
            text += " w" + std::string(static_cast<std::size_t>(*rc::gen::inRange(1, 12)), 'x');
        lines.push_back(text);
    }
    Printed p = printOf(lines, smallPage(columns, byPages, pages), false, ymd(2000, 1, 31));
    std::vector<std::int32_t> expected;
    for (const IndexTy &e : p.doc->engine().index())
        if (e.kind == DatedEntry && !p.doc->lines()[static_cast<std::size_t>(e.value)].noPrint)
            expected.push_back(e.value);
    std::vector<std::int32_t> printed;
    const int laid = p.printout->pageCount();
    for (int pg = 1; pg <= laid; ++pg)
        for (const PlacedItem &item : p.printout->page(pg)->items)
            if (item.kind == PrintItemKind::Entry)
                printed.push_back(item.line);
    RC_ASSERT(p.printout->end() != PrintEnd::WontFit);
    RC_ASSERT(printed.size() <= expected.size());
    RC_ASSERT(std::equal(printed.begin(), printed.end(), expected.begin()));
    if (!byPages && p.printout->end() == PrintEnd::Done)
        RC_ASSERT(printed.size() == expected.size());
}

} // namespace
