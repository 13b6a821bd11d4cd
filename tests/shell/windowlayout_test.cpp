#include "shell/windowlayout.h"

#include <gtest/gtest.h>

using namespace dvw;

TEST(WindowLayout, ThreePanesKeepTheMonthWidthAtTheRightEdge)
{
    const FixedLayout wide = FixedLayoutFor(QSize(1000, 700), 200, 180);
    EXPECT_EQ(wide.list, QRect(0, 0, 800, 700));
    EXPECT_EQ(wide.month, QRect(800, 0, 200, 180));
    EXPECT_EQ(wide.current, QRect(800, 180, 200, 520));

    const FixedLayout narrow = FixedLayoutFor(QSize(600, 700), 200, 180);
    EXPECT_EQ(narrow.month, QRect(400, 0, 200, 180));
    EXPECT_EQ(narrow.current.left(), 400);
    EXPECT_EQ(narrow.current.width(), 200);
}

TEST(WindowLayout, PaneLargerThanTheClientLeavesNoNegativeSize)
{
    const FixedLayout tight = FixedLayoutFor(QSize(150, 100), 200, 180);
    EXPECT_EQ(tight.list.width(), 0);
    EXPECT_EQ(tight.current.height(), 0);
    EXPECT_EQ(NewViewRect(QSize(150, 100), 200), QRect(0, 0, 0, 100));
    EXPECT_EQ(NewViewRect(QSize(900, 500), 200), QRect(0, 0, 700, 500));
}
