#include "shell/windowlayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

TEST(WindowLayout, CascadedWindowsStayInsideTheClientAndKeepAUsableSize)
{
    struct Case
    {
        QSize client;
        int count;
        int step;
    };
    const std::vector<Case> cases = {
        {QSize(900, 600), 1, 22},  {QSize(900, 600), 3, 22}, {QSize(900, 600), 40, 22},
        {QSize(300, 200), 12, 30}, {QSize(900, 600), 5, 0},  {QSize(40, 30), 4, 22},
    };
    for (const Case &c : cases) {
        const std::vector<QRect> rects = CascadeRects(c.client, c.count, c.step);
        ASSERT_EQ(rects.size(), static_cast<std::size_t>(c.count)) << c.count;
        const QRect client(QPoint(0, 0), c.client);
        for (std::size_t i = 0; i < rects.size(); ++i) {
            const QRect &r = rects[i];
            EXPECT_TRUE(client.contains(r)) << c.count << " window " << i;
            EXPECT_GE(r.width(), c.client.width() / 2) << c.count << " window " << i;
            EXPECT_GE(r.height(), c.client.height() / 2) << c.count << " window " << i;
            EXPECT_EQ(r.size(), rects.front().size());
            // Each window shows the title bar of the one behind it, until the steps start
            // again at the top left.
            if (i > 0 && r.topLeft() != QPoint(0, 0)) {
                const QPoint step = QPoint(1, 1) * std::max(1, c.step);
                EXPECT_EQ(r.topLeft(), rects[i - 1].topLeft() + step);
            }
        }
    }
    EXPECT_TRUE(CascadeRects(QSize(900, 600), 0, 22).empty());
    // Three windows in a roomy client: the last one ends at the bottom right.
    EXPECT_EQ(CascadeRects(QSize(900, 600), 3, 22).back(), QRect(44, 44, 856, 556));
}
