#include "dialogs/BalloonRegion.h"

#include <gtest/gtest.h>

namespace {
int CountPixels(const BalloonRegion& region)
{
    int count = 0;
    for (const BalloonRect& rect : region.Rects())
        count += rect.Width() * rect.Height();
    return count;
}

TEST(BalloonRegionTest, RectangleAndPolygonLeaveTheRightAndBottomEdgesOut)
{
    const BalloonRegion rect = BalloonRegion::Rectangle({2, 3, 12, 8});
    EXPECT_EQ(rect.Rects(), (std::vector<BalloonRect>{{2, 3, 12, 8}}));
    const BalloonRegion polygon = BalloonRegion::Polygon({{2, 3}, {12, 3}, {12, 8}, {2, 8}});
    EXPECT_EQ(polygon, rect);
    EXPECT_TRUE(BalloonRegion::Rectangle({0, 0, 0, 5}).IsEmpty());
}

TEST(BalloonRegionTest, TriangleFillsHalfItsBox)
{
    // A right triangle with legs of 10: rows of 1 to 10 pixels... minus the hypotenuse.
    const BalloonRegion triangle = BalloonRegion::Polygon({{0, 0}, {10, 10}, {0, 10}});
    EXPECT_EQ(CountPixels(triangle), 45);
    EXPECT_TRUE(triangle.Contains({0, 9}));
    EXPECT_TRUE(triangle.Contains({9, 9}) == false);
    EXPECT_TRUE(triangle.Contains({8, 9}));
}

TEST(BalloonRegionTest, SelfCrossingPolygonUsesTheAlternateRule)
{
    // A square drawn around twice the same way: the alternate rule leaves its inside empty.
    const BalloonRegion doubled =
        BalloonRegion::Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}, {0, 4}});
    EXPECT_TRUE(doubled.IsEmpty());
}

TEST(BalloonRegionTest, RoundRectCutsOnlyTheCorners)
{
    const BalloonRegion round = BalloonRegion::RoundRect({0, 0, 40, 30}, 24, 24);
    EXPECT_FALSE(round.Contains({0, 0}));
    EXPECT_FALSE(round.Contains({39, 29}));
    EXPECT_FALSE(round.Contains({2, 2}));
    EXPECT_TRUE(round.Contains({4, 4}));
    EXPECT_TRUE(round.Contains({0, 12}));
    EXPECT_TRUE(round.Contains({12, 0}));
    EXPECT_TRUE(round.Contains({39, 15}));
    EXPECT_EQ(round.Bounds(), (BalloonRect{0, 0, 40, 30}));
    // Symmetric about both axes.
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(round.Contains({x, y}), round.Contains({39 - x, 29 - y})) << x << "," << y;
    }
}

TEST(BalloonRegionTest, FrameIsTheBandAlongTheOutline)
{
    const BalloonRegion square = BalloonRegion::Rectangle({0, 0, 10, 10});
    const BalloonRegion thin = square.Frame(1, 1);
    EXPECT_EQ(CountPixels(thin), 36);
    EXPECT_TRUE(thin.Contains({0, 5}));
    EXPECT_FALSE(thin.Contains({1, 5}));
    EXPECT_EQ(CountPixels(square.Frame(2, 2)), 64);
    EXPECT_EQ(CountPixels(square.Frame(2, 1)), 100 - 6 * 8);
}

TEST(BalloonRegionTest, FrameFollowsTheInnerCornerOfAnL)
{
    const BalloonRegion l =
        BalloonRegion::Rectangle({0, 0, 10, 4}).United(BalloonRegion::Rectangle({0, 4, 4, 10}));
    const BalloonRegion frame = l.Frame(1, 1);
    EXPECT_EQ(CountPixels(frame), 64 - 29);
    EXPECT_FALSE(frame.Contains({3, 3}));
    EXPECT_TRUE(frame.Contains({4, 3}));
    EXPECT_TRUE(frame.Contains({3, 5}));
    EXPECT_FALSE(frame.Contains({2, 5}));
}

TEST(BalloonRegionTest, UnionAndOffset)
{
    const BalloonRegion a = BalloonRegion::Rectangle({0, 0, 4, 4});
    const BalloonRegion b = BalloonRegion::Rectangle({2, 2, 6, 6});
    const BalloonRegion both = a.United(b);
    EXPECT_EQ(CountPixels(both), 28);
    EXPECT_EQ(both.Bounds(), (BalloonRect{0, 0, 6, 6}));
    EXPECT_EQ(a.Offset(2, 2), b);
    EXPECT_EQ(BalloonRegion().United(a), a);
    EXPECT_FALSE(a == b);
}
} // namespace
