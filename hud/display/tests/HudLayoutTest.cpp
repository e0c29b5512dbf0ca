#include "hud/display/HudLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace HudLayout;

namespace {

struct CLayoutCase
{
    QRect table;
    QSize box;
};

// The client's default table and its smallest, with boxes of a full
// statistics line ("Blue 1234 30.0 20.0 5.0 0.0") at the font each gets.
const std::vector<CLayoutCase> kCases = {
    {QRect(0, 0, 792, 546), QSize(150, 17)},
    {QRect(300, 200, 792, 546), QSize(150, 17)},
    {QRect(0, 0, 640, 441), QSize(122, 15)},
    {QRect(0, 0, 1200, 828), QSize(226, 24)},
};

}  // namespace

TEST(HudLayoutTest, EveryTableSizeGetsBoxesBesideTheirSeatsCoveringNoCardsNoPotAndNoOtherBox)
{
    for (const CLayoutCase& c : kCases) {
        const QRect middle = ToPixels(MiddleFraction(), c.table);
        for (int n = kMinTableSize; n <= kMaxTableSize; ++n) {
            std::vector<QRect> boxes;
            for (int p = 0; p < n; ++p) {
                boxes.push_back(DefaultBox(c.table, n, p, c.box));
            }
            for (int p = 0; p < n; ++p) {
                SCOPED_TRACE(testing::Message()
                             << "table " << c.table.width() << "x" << c.table.height() << ", size "
                             << n << ", position " << p);
                const QRect& box = boxes[static_cast<size_t>(p)];
                EXPECT_EQ(box.size(), c.box);
                EXPECT_TRUE(c.table.contains(box));
                EXPECT_FALSE(box.intersects(middle));
                for (int q = 0; q < n; ++q) {
                    EXPECT_FALSE(box.intersects(ToPixels(SeatCardsFraction(n, q), c.table)))
                        << "covers the cards of position " << q;
                    EXPECT_FALSE(box.intersects(ToPixels(SeatPlateFraction(n, q), c.table)))
                        << "covers the name plate of position " << q;
                    if (q != p) {
                        EXPECT_FALSE(box.intersects(boxes[static_cast<size_t>(q)]))
                            << "overlaps the box of position " << q;
                    }
                }
                // Beside its own seat: nearer to it than to any other seat.
                const QPoint mine = ToPixels(SeatPlateFraction(n, p), c.table).center();
                for (int q = 0; q < n; ++q) {
                    if (q == p) {
                        continue;
                    }
                    const QPoint other = ToPixels(SeatPlateFraction(n, q), c.table).center();
                    EXPECT_LT((box.center() - mine).manhattanLength(),
                              (box.center() - other).manhattanLength())
                        << "nearer to position " << q;
                }
            }
        }
    }
}

TEST(HudLayoutTest, SeatsGoClockwiseFromTheTopWithTheMiddleSeatAtTheBottomAtOddSizes)
{
    // Nine seats: seat 1 (position 0) right of twelve o'clock, seat 5 at the
    // bottom, seat 9 left of twelve o'clock.
    const QPointF first = SeatPlateFraction(9, 0).center();
    const QPointF bottom = SeatPlateFraction(9, 4).center();
    const QPointF last = SeatPlateFraction(9, 8).center();
    EXPECT_GT(first.x(), 0.5);
    EXPECT_LT(first.y(), 0.3);
    EXPECT_NEAR(bottom.x(), 0.5, 1e-9);
    EXPECT_GT(bottom.y(), 0.7);
    EXPECT_LT(last.x(), 0.5);
    // Heads-up: one seat on each side.
    EXPECT_GT(SeatPlateFraction(2, 0).center().x(), 0.8);
    EXPECT_LT(SeatPlateFraction(2, 1).center().x(), 0.2);
}

TEST(HudLayoutTest, APlaceTheChoseKeepsItsShareOfTheWindowAndStaysInside)
{
    const QRect table(100, 50, 800, 600);
    const QPointF f = TopLeftFraction(table, QPoint(300, 350));
    EXPECT_DOUBLE_EQ(f.x(), 0.25);
    EXPECT_DOUBLE_EQ(f.y(), 0.5);
    EXPECT_EQ(PlacedBox(table, f, QSize(100, 20)).topLeft(), QPoint(300, 350));
    // The same share of a window twice the size.
    EXPECT_EQ(PlacedBox(QRect(0, 0, 1600, 1200), f, QSize(100, 20)).topLeft(), QPoint(400, 600));
    // Dragged half out of the window: brought back in.
    EXPECT_EQ(PlacedBox(table, QPointF(0.95, -0.2), QSize(100, 20)), QRect(800, 50, 100, 20));
    EXPECT_EQ(TopLeftFraction(QRect(), QPoint(1, 1)), QPointF());
}
