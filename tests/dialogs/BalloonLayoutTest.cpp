#include "dialogs/BalloonLayout.h"
#include "dialogs/BalloonOptions.h"

#include "BalloonTestPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace {
const BalloonRect kDesktop{0, 0, 1024, 768};
// The balloon of the worked example: 16 by 16 icon, title 70 by 13, body 300 by 80.
const BalloonSize kWindow{316, 140};

TEST(BalloonLayoutTest, WorkedExamplePlacesTheBalloonBelowAndRightOfTheAnchor)
{
    const BalloonSize bar =
        BalloonLayout::MeasureTitleBar(BalloonSize{16, 16}, false, BalloonSize{70, 13});
    EXPECT_EQ(bar, (BalloonSize{94, 16}));
    const BalloonSize client = BalloonLayout::MeasureClient(bar, {300, 80});
    EXPECT_EQ(client, (BalloonSize{300, 104}));
    const BalloonSize window = BalloonLayout::MeasureWindow(client);
    EXPECT_EQ(window, kWindow);

    const BalloonPlacement placement = BalloonLayout::PlaceWindow(window, {500, 300}, kDesktop);
    EXPECT_EQ(placement.quadrant, 1);
    EXPECT_EQ(placement.tail, (std::array<BalloonPoint, 3>{{{94, 21}, {74, 1}, {74, 21}}}));
    EXPECT_EQ(placement.window, (BalloonRect{426, 299, 742, 439}));
    EXPECT_EQ(placement.bodyTop, 20);
    EXPECT_EQ(placement.bodyBottom, 140);

    // The client area inside that window is exactly the measured client size.
    const BalloonRect inset = BalloonLayout::ClientInset({0, 0, 316, 140}, placement.quadrant);
    EXPECT_EQ(inset, (BalloonRect{8, 28, 308, 132}));
}

struct QuadrantCase {
    BalloonPoint anchor;
    int quadrant;
};

void PrintTo(const QuadrantCase& c, std::ostream* out)
{
    PrintTo(c.anchor, out);
}

class AnchorQuadrantTest : public testing::TestWithParam<QuadrantCase> {};

TEST_P(AnchorQuadrantTest, HalfLinesCountAsRightAndLower)
{
    EXPECT_EQ(BalloonLayout::AnchorQuadrant(GetParam().anchor, kDesktop), GetParam().quadrant);
}

INSTANTIATE_TEST_SUITE_P(Anchors, AnchorQuadrantTest,
                         testing::Values(QuadrantCase{{0, 0}, 1}, QuadrantCase{{511, 383}, 1},
                                         QuadrantCase{{512, 383}, 0}, QuadrantCase{{511, 384}, 3},
                                         QuadrantCase{{512, 384}, 2},
                                         QuadrantCase{{1023, 767}, 2}));

struct TailCase {
    BalloonPoint anchor;
    std::array<BalloonPoint, 3> tail;
    int bodyTop;
    int bodyBottom;
};

void PrintTo(const TailCase& c, std::ostream* out)
{
    PrintTo(c.anchor, out);
}

class TailTest : public testing::TestWithParam<TailCase> {};

TEST_P(TailTest, TipTouchesTheAnchorAndTheBodyLiesAwayFromIt)
{
    const TailCase& c = GetParam();
    const BalloonPlacement placement = BalloonLayout::PlaceWindow(kWindow, c.anchor, kDesktop);
    EXPECT_EQ(placement.tail, c.tail);
    EXPECT_EQ(placement.bodyTop, c.bodyTop);
    EXPECT_EQ(placement.bodyBottom, c.bodyBottom);
    EXPECT_EQ(placement.window.left + placement.tail[1].x, c.anchor.x);
    EXPECT_EQ(placement.window.top + placement.tail[1].y, c.anchor.y);
}

// q = (316 - 20) / 4 = 74.
INSTANTIATE_TEST_SUITE_P(
    Quadrants, TailTest,
    testing::Values(TailCase{{700, 200}, {{{222, 21}, {242, 1}, {242, 21}}}, 20, 140},
                    TailCase{{300, 200}, {{{94, 21}, {74, 1}, {74, 21}}}, 20, 140},
                    TailCase{{700, 500}, {{{222, 118}, {242, 138}, {242, 118}}}, 0, 120},
                    TailCase{{300, 500}, {{{94, 118}, {74, 138}, {74, 118}}}, 0, 120}));

TEST(BalloonLayoutTest, BalloonPushedOffTheLeftEdgeTakesTheTipAlong)
{
    const BalloonPlacement placement = BalloonLayout::PlaceWindow(kWindow, {30, 100}, kDesktop);
    EXPECT_EQ(placement.window, (BalloonRect{0, 99, 316, 239}));
    // The tip moves left to stay on the anchor; the base of the tail stays.
    EXPECT_EQ(placement.tail, (std::array<BalloonPoint, 3>{{{94, 21}, {30, 1}, {74, 21}}}));
}

TEST(BalloonLayoutTest, BalloonPastTheRightEdgeEndsOnIt)
{
    const BalloonPlacement placement = BalloonLayout::PlaceWindow(kWindow, {1000, 100}, kDesktop);
    EXPECT_EQ(placement.window.right, 1024);
    EXPECT_EQ(placement.window.left, 708);
    EXPECT_EQ(placement.tail, (std::array<BalloonPoint, 3>{{{222, 21}, {292, 1}, {242, 21}}}));
}

TEST(BalloonLayoutTest, BalloonPastTheBottomIsLiftedWithoutMovingTheTip)
{
    const BalloonPlacement placement = BalloonLayout::PlaceWindow(kWindow, {300, 767}, kDesktop);
    EXPECT_EQ(placement.window, (BalloonRect{226, 628, 542, 768}));
    EXPECT_EQ(placement.tail[1], (BalloonPoint{74, 138}));
}

TEST(BalloonLayoutTest, EmptyBalloonClampsEveryTailPointToTheInset)
{
    const BalloonSize bar = BalloonLayout::MeasureTitleBar(std::nullopt, false, std::nullopt);
    EXPECT_EQ(bar, (BalloonSize{0, 0}));
    const BalloonSize client = BalloonLayout::MeasureClient(bar, {0, 0});
    EXPECT_EQ(client, (BalloonSize{0, 8}));
    const BalloonSize window = BalloonLayout::MeasureWindow(client);
    EXPECT_EQ(window, (BalloonSize{16, 44}));
    for (BalloonPoint anchor : {BalloonPoint{700, 200}, BalloonPoint{300, 200},
                                BalloonPoint{700, 500}, BalloonPoint{300, 500}}) {
        const BalloonPlacement placement = BalloonLayout::PlaceWindow(window, anchor, kDesktop);
        for (const BalloonPoint& point : placement.tail)
            EXPECT_EQ(point.x, 8) << "anchor " << anchor.x << "," << anchor.y;
    }
}

struct TitleBarCase {
    std::optional<BalloonSize> icon;
    bool closeButton;
    std::optional<BalloonSize> title;
    BalloonSize expected;
};

void PrintTo(const TitleBarCase& c, std::ostream* out)
{
    PrintTo(c.expected, out);
}

class TitleBarTest : public testing::TestWithParam<TitleBarCase> {};

TEST_P(TitleBarTest, PartsSitSideBySideWithGapsOnlyBetweenThem)
{
    const TitleBarCase& c = GetParam();
    EXPECT_EQ(BalloonLayout::MeasureTitleBar(c.icon, c.closeButton, c.title), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, TitleBarTest,
    testing::Values(TitleBarCase{BalloonSize{16, 16}, true, BalloonSize{70, 13}, {118, 16}},
                    TitleBarCase{std::nullopt, true, BalloonSize{70, 20}, {94, 20}},
                    TitleBarCase{std::nullopt, true, std::nullopt, {16, 16}},
                    TitleBarCase{std::nullopt, false, BalloonSize{70, 13}, {70, 13}},
                    TitleBarCase{BalloonSize{32, 32}, false, std::nullopt, {32, 32}}));

TEST(BalloonLayoutTest, BodyWrapsAtHalfTheDesktopRoundedUp)
{
    EXPECT_EQ(BalloonLayout::BodyWrapWidth(1024), 512);
    EXPECT_EQ(BalloonLayout::BodyWrapWidth(1023), 512);
    EXPECT_EQ(BalloonLayout::BodyWrapWidth(1), 1);
}

TEST(BalloonLayoutTest, ClientInsetTakesTheTailFromItsSideAndNeverTurnsInsideOut)
{
    EXPECT_EQ(BalloonLayout::ClientInset({0, 0, 316, 140}, 0), (BalloonRect{8, 28, 308, 132}));
    EXPECT_EQ(BalloonLayout::ClientInset({0, 0, 316, 140}, 2), (BalloonRect{8, 8, 308, 112}));
    EXPECT_EQ(BalloonLayout::ClientInset({0, 0, 16, 44}, 3), (BalloonRect{8, 8, 8, 16}));
    EXPECT_EQ(BalloonLayout::ClientInset({0, 0, 10, 10}, 1), (BalloonRect{8, 28, 8, 28}));
}

TEST(BalloonLayoutTest, ShapeJoinsTheTailToTheRoundedBody)
{
    const BalloonPlacement placement = BalloonLayout::PlaceWindow(kWindow, {500, 300}, kDesktop);
    const BalloonRegion shape = BalloonLayout::Shape(placement);
    EXPECT_EQ(shape.Bounds(), (BalloonRect{0, 2, 316, 140}));
    // The tail narrows to the tip above the body and runs into it without a gap.
    EXPECT_TRUE(shape.Contains({74, 2}));
    EXPECT_FALSE(shape.Contains({76, 2}));
    for (int y = 2; y < 30; ++y)
        EXPECT_TRUE(shape.Contains({74, y})) << "row " << y;
    // Rounded corners, straight edges between them.
    EXPECT_FALSE(shape.Contains({0, 20}));
    EXPECT_FALSE(shape.Contains({315, 139}));
    EXPECT_TRUE(shape.Contains({0, 80}));
    EXPECT_TRUE(shape.Contains({158, 20}));
    EXPECT_TRUE(shape.Contains({315, 80}));
    EXPECT_TRUE(shape.Contains({158, 139}));
    EXPECT_FALSE(shape.Contains({158, 19}));
}

TEST(BalloonLayoutTest, CloseButtonSitsAtTheTopRightOfTheClientArea)
{
    EXPECT_EQ(BalloonLayout::CloseButtonRect(300), (BalloonRect{284, 0, 300, 16}));
}
} // namespace
