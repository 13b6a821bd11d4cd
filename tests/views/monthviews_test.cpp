#include "shell/documentsignals.h"
#include "store/documentlistener.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"
#include "views/monthviews.h"
#include "views/tdaydialog.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

TDate ymd(int y, int m, int d)
{
    return TDate(static_cast<std::uint32_t>(d), static_cast<std::uint32_t>(m),
                 static_cast<std::uint32_t>(y));
}

struct OtherView : DocumentListener
{
    void goToDate(const TDate &date) override { dates.push_back(date); }
    void selectPosition(int) override { }
    std::vector<TDate> dates;
};

MonthViewSettings viewSettings()
{
    MonthViewSettings s;
    for (QFont *f : {&s.look.titleFont, &s.look.headingFont, &s.look.dayFont, &s.look.entryFont})
        f->setPixelSize(11);
    return s;
}

// A document with today 7 December 2026 and a window from the start for 30 days.
template<typename View>
struct MonthFixture
{
    explicit MonthFixture(std::vector<std::string> lines, TDate start = ymd(2026, 12, 7),
                          QSize size = {700, 500})
        : doc(test::documentOf(std::move(lines), start, 30))
        , events(*doc)
    {
        doc->addListener(&other);
        ViewHost host;
        host.runCommand = [this](int c) { commands.push_back(c); };
        host.commandEnabled = [](int) { return false; };
        view = std::make_unique<View>(events, viewSettings(), host);
        view->resize(size);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    ~MonthFixture()
    {
        view.reset();
        doc->removeListener(&other);
    }
    // The centre of the day's cell, in the viewport.
    QPoint cellCentre(int day) const
    {
        const GridRect r = view->geometry().cellRect(day);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    std::unique_ptr<TApptDocument> doc;
    DocumentSignals events;
    OtherView other;
    std::vector<int> commands;
    std::unique_ptr<View> view;
};

TEST(MonthPane, KeysMoveTheSelectedDateAndTellTheOtherViews)
{
    const struct
    {
        TDate from;
        int key;
        TDate to;
    } cases[] = {
        {ymd(2026, 12, 17), Qt::Key_PageDown, ymd(2027, 1, 1)},
        {ymd(2027, 1, 20), Qt::Key_PageUp, ymd(2026, 12, 1)},
        {ymd(2027, 3, 31), Qt::Key_PageUp, ymd(2027, 2, 1)},
        {ymd(2027, 3, 1), Qt::Key_Left, ymd(2027, 2, 28)},
        {ymd(2026, 12, 31), Qt::Key_Right, ymd(2027, 1, 1)},
        {ymd(2027, 1, 3), Qt::Key_Up, ymd(2026, 12, 27)},
        {ymd(2026, 12, 28), Qt::Key_Down, ymd(2027, 1, 4)},
        {ymd(2027, 5, 5), Qt::Key_Home, ymd(2026, 12, 7)},
    };
    MonthFixture<TMonthView> f({});
    for (const auto &c : cases) {
        f.view->selectDate(c.from, false);
        f.other.dates.clear();
        QTest::keyClick(f.view.get(), static_cast<Qt::Key>(c.key));
        EXPECT_EQ(f.view->selectedDate(), c.to) << c.key;
        EXPECT_EQ(f.other.dates, std::vector<TDate> {c.to}) << c.key;
        EXPECT_TRUE(f.doc->hasPendingCursorDate());
        EXPECT_EQ(f.doc->lastCursorDate(), c.to);
        EXPECT_EQ(f.view->verticalScrollBar()->value(),
                  std::clamp(MonthsBetween(ymd(2026, 12, 7), c.to), 0, 24));
    }
}

TEST(MonthPane, FollowsOtherViewsWithoutAnsweringAndPicksByClick)
{
    MonthFixture<TMonthView> f({}, ymd(2026, 12, 7), {210, 180});
    f.doc->broadcastGoToDate(ymd(2027, 2, 14), &f.other);
    EXPECT_EQ(f.view->selectedDate(), ymd(2027, 2, 14));
    EXPECT_TRUE(f.other.dates.empty());
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, f.cellCentre(20));
    EXPECT_EQ(f.view->selectedDate(), ymd(2027, 2, 20));
    EXPECT_EQ(f.other.dates, std::vector<TDate> {ymd(2027, 2, 20)});
    // Above the grid nothing is picked.
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_EQ(f.view->selectedDate(), ymd(2027, 2, 20));
    QTest::keyClick(f.view.get(), Qt::Key_V);
    QTest::keyClick(f.view.get(), Qt::Key_I);
    EXPECT_EQ(f.commands, (std::vector<int> {220, 170}));
}

TEST(MonthPane, TheScrollBarMovesByMonthsWithinTwoYears)
{
    MonthFixture<TMonthView> f({});
    QScrollBar *bar = f.view->verticalScrollBar();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 24);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QTest::qWait(0);
    EXPECT_EQ(f.view->selectedDate(), ymd(2027, 1, 1));
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    QTest::qWait(0);
    EXPECT_EQ(f.view->selectedDate(), ymd(2026, 12, 1));
    EXPECT_EQ(bar->value(), 0);
    bar->setSliderPosition(5);
    bar->triggerAction(QAbstractSlider::SliderMove);
    QTest::qWait(0);
    EXPECT_EQ(f.view->selectedDate(), ymd(2027, 5, 7));
}

const std::vector<std::string> calendarLines = {
    "12/9/2026 Alpha",
    "12/9/2026 Beta",
};

TEST(CalendarView, StartsOnThePendingCursorDate)
{
    auto doc = test::documentOf({}, ymd(2026, 12, 7), 30);
    DocumentSignals events(*doc);
    EXPECT_EQ(TCalendarView(events, viewSettings(), {}).selectedDate(), ymd(2026, 12, 7));
    doc->broadcastCursorDate(ymd(2027, 1, 2), nullptr);
    EXPECT_EQ(TCalendarView(events, viewSettings(), {}).selectedDate(), ymd(2027, 1, 2));
}

TEST(CalendarView, EntriesUnderThePointAndTheDayDialog)
{
    MonthFixture<TCalendarView> f(calendarLines);
    const GridGeometry g = f.view->geometry();
    const GridRect cell = g.cellRect(9);
    const int x = cell.left + 5;
    EXPECT_EQ(f.view->entryAt({x, g.entryTop(9, 0)}).first, 0);
    EXPECT_EQ(f.view->entryAt({x, g.entryTop(9, 1)}).first, 1);
    EXPECT_EQ(f.view->entryAt({x, g.entryTop(9, 2)}).first, -1);
    EXPECT_EQ(f.view->entryAt({x, cell.top + 1}).first, -1);
    EXPECT_EQ(f.view->selectedDate(), ymd(2026, 12, 9));

    QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, f.cellCentre(9));
    auto *dialog = f.view->findChild<TDayDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text(), QStringLiteral("Alpha\r\nBeta\r\n"));
    dialog->close();
}

TEST(CalendarView, ThePopupOffersEntryCommandsOnlyOnAnEntryAndKeepsThemDisabled)
{
    MonthFixture<TCalendarView> f(calendarLines);
    const GridGeometry g = f.view->geometry();
    const struct
    {
        QPoint point;
        QStringList entries;
    } cases[] = {
        {{g.cellRect(9).left + 5, g.entryTop(9, 1)},
         {"Edit", "Add", "Mark as done/undone", "Delete", "Copy"}},
        {f.cellCentre(10), {"Add"}},
    };
    for (const auto &c : cases) {
        QTest::mouseClick(f.view->viewport(), Qt::RightButton, {}, c.point);
        QMenu *menu = f.view->findChild<QMenu *>();
        ASSERT_NE(menu, nullptr);
        QStringList texts;
        for (const QAction *a : menu->actions()) {
            if (a->text() != QStringLiteral("Paste"))
                texts << a->text();
            EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
        }
        EXPECT_EQ(texts, c.entries);
        delete menu;
    }
}

} // namespace
