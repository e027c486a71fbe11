#include "dialogs/BalloonBorder.h"
#include "dialogs/BalloonFade.h"
#include "dialogs/BalloonKeyCloseList.h"
#include "dialogs/BalloonMouse.h"
#include "dialogs/BalloonOptions.h"
#include "dialogs/DialogUnits.h"

#include "BalloonTestPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The options of the server properties dialog's help.
constexpr std::uint32_t kFieldHelp =
    BALLOON_CLOSE_ON_KEY | BALLOON_CLOSE_ON_MOUSE_MOVE | BALLOON_NO_FADE_OUT;

TEST(BalloonOptionsTest, BitsKeepTheirValues)
{
    EXPECT_EQ(kFieldHelp, 0x020Cu);
    EXPECT_EQ(BALLOON_NO_FADE, 0x0300u);
    EXPECT_EQ(BALLOON_CLOSE_BUTTON | BALLOON_3D_BORDER | BALLOON_TOPMOST | BALLOON_DELETE_ON_CLOSE,
              0x00F0u);
}

TEST(BalloonFadeTest, FadeInReachesOpaqueAtTheTenthTickAndEndsAtTheEleventh)
{
    BalloonFade fade(0);
    EXPECT_EQ(fade.BeginFadeIn(), 5);
    std::vector<int> alphas;
    int ticks = 0;
    BalloonFade::FadeInStep step;
    do {
        step = fade.TickFadeIn();
        alphas.push_back(step.alpha);
        ++ticks;
    } while (!step.finished && ticks < 20);
    EXPECT_EQ(alphas, (std::vector<int>{30, 55, 80, 105, 130, 155, 180, 205, 230, 255, 255}));
    EXPECT_EQ(fade.Alpha(), 255);
}

TEST(BalloonFadeTest, NoFadeInTurnsOpaqueAtTheFirstTick)
{
    BalloonFade fade(BALLOON_NO_FADE_IN);
    fade.BeginFadeIn();
    const BalloonFade::FadeInStep step = fade.TickFadeIn();
    EXPECT_TRUE(step.finished);
    EXPECT_EQ(step.alpha, 255);
}

TEST(BalloonFadeTest, FadeOutDestroysAtTheEleventhTick)
{
    BalloonFade fade(0);
    fade.BeginFadeOut();
    std::vector<int> applied;
    for (int tick = 0; tick < 20; ++tick) {
        const BalloonFade::FadeOutStep step = fade.TickFadeOut();
        if (!step.apply)
            break;
        applied.push_back(step.alpha);
    }
    EXPECT_EQ(applied, (std::vector<int>{225, 200, 175, 150, 125, 100, 75, 50, 25, 0}));
    EXPECT_EQ(fade.Alpha(), 0);
}

TEST(BalloonFadeTest, NoFadeOutDestroysAtTheFirstTick)
{
    BalloonFade fade(kFieldHelp);
    fade.BeginFadeIn();
    fade.TickFadeIn();
    fade.BeginFadeOut();
    EXPECT_FALSE(fade.TickFadeOut().apply);
}

TEST(BalloonFadeTest, SecondCloseRequestRestartsTheFadeOut)
{
    BalloonFade fade(0);
    fade.BeginFadeOut();
    fade.TickFadeOut();
    fade.TickFadeOut();
    EXPECT_EQ(fade.Alpha(), 200);
    fade.BeginFadeOut();
    EXPECT_EQ(fade.Alpha(), 250);
    EXPECT_EQ(fade.TickFadeOut().alpha, 225);
}

struct MoveCase {
    BalloonPoint point;
    int alpha;
    bool closes;
};

void PrintTo(const MoveCase& c, std::ostream* out)
{
    PrintTo(c.point, out);
    *out << " alpha " << c.alpha;
}

class MouseMoveTest : public testing::TestWithParam<MoveCase> {};

TEST_P(MouseMoveTest, MovementBeyondThreePixelsClosesOnlyOnceOpaque)
{
    BalloonMouse mouse(kFieldHelp);
    mouse.SetStart({100, 50});
    const BalloonMouse::Action action = mouse.Move(GetParam().point, 300, GetParam().alpha);
    EXPECT_EQ(action.beginFadeOut, GetParam().closes);
    // While it stays open the cursor keeps being polled.
    EXPECT_EQ(action.pollMs, GetParam().closes ? 0 : 100);
    EXPECT_FALSE(action.drawButton);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MouseMoveTest,
    testing::Values(MoveCase{{103, 53}, 255, false}, MoveCase{{97, 47}, 255, false},
                    MoveCase{{104, 50}, 255, true}, MoveCase{{100, 46}, 255, true},
                    MoveCase{{200, 200}, 230, false}, MoveCase{{200, 200}, 5, false}));

TEST(BalloonMouseTest, CloseButtonTurnsHotOverItAndFlatOffIt)
{
    BalloonMouse mouse(BALLOON_CLOSE_BUTTON);
    BalloonMouse::Action over = mouse.Move({290, 5}, 300, 255);
    EXPECT_TRUE(over.drawButton);
    EXPECT_EQ(over.pollMs, 500);
    EXPECT_EQ(mouse.ButtonState(), BalloonMouse::kButtonHot);
    // Same state again: nothing to redraw.
    EXPECT_FALSE(mouse.Move({291, 6}, 300, 255).drawButton);
    const BalloonMouse::Action off = mouse.Move({100, 5}, 300, 255);
    EXPECT_TRUE(off.drawButton);
    EXPECT_EQ(off.pollMs, 0);
    EXPECT_EQ(mouse.ButtonState(), BalloonMouse::kButtonFlat);
}

TEST(BalloonMouseTest, CloseButtonWithMouseMovePollsEveryHundredMilliseconds)
{
    BalloonMouse mouse(BALLOON_CLOSE_BUTTON | BALLOON_CLOSE_ON_MOUSE_MOVE);
    mouse.SetStart({290, 5});
    EXPECT_EQ(mouse.Move({290, 5}, 300, 255).pollMs, 100);
}

TEST(BalloonMouseTest, CloseButtonReleasedOffItStaysOpenAndOnItCloses)
{
    BalloonMouse mouse(BALLOON_CLOSE_BUTTON);
    EXPECT_FALSE(mouse.LeftDown({100, 5}, 300, 255).capture);

    const BalloonMouse::Action down = mouse.LeftDown({290, 5}, 300, 255);
    EXPECT_TRUE(down.capture);
    EXPECT_TRUE(down.drawButton);
    EXPECT_EQ(mouse.ButtonState(), BalloonMouse::kButtonHot | BalloonMouse::kButtonPushed);
    // Dragged off the button: drawn flat but still being pressed.
    mouse.Move({100, 5}, 300, 255);
    EXPECT_EQ(mouse.ButtonState(), BalloonMouse::kButtonFlat | BalloonMouse::kButtonPushed);
    const BalloonMouse::Action upOff = mouse.LeftUp({100, 5}, 300, false);
    EXPECT_TRUE(upOff.releaseCapture);
    EXPECT_FALSE(upOff.beginFadeOut);

    mouse.LeftDown({290, 5}, 300, 255);
    const BalloonMouse::Action upOn = mouse.LeftUp({290, 5}, 300, true);
    EXPECT_TRUE(upOn.releaseCapture);
    EXPECT_TRUE(upOn.beginFadeOut);
    EXPECT_FALSE(upOn.openUrl);
}

struct ReleaseCase {
    std::uint32_t options;
    bool hasUrl;
    bool closes;
    bool opensUrl;
    bool releasesCapture;
};

void PrintTo(const ReleaseCase& c, std::ostream* out)
{
    *out << "options " << c.options << (c.hasUrl ? " with URL" : " without URL");
}

class LeftUpTest : public testing::TestWithParam<ReleaseCase> {};

TEST_P(LeftUpTest, FirstMatchingRuleOnly)
{
    const ReleaseCase& c = GetParam();
    BalloonMouse mouse(c.options);
    const BalloonMouse::Action action = mouse.LeftUp({10, 10}, 300, c.hasUrl);
    EXPECT_EQ(action.beginFadeOut, c.closes);
    EXPECT_EQ(action.openUrl, c.opensUrl);
    EXPECT_EQ(action.releaseCapture, c.releasesCapture);
}

INSTANTIATE_TEST_SUITE_P(
    Releases, LeftUpTest,
    testing::Values(ReleaseCase{0, false, false, false, false},
                    ReleaseCase{0, true, true, true, false},
                    ReleaseCase{BALLOON_CLOSE_ON_LEFT_UP, true, true, false, true},
                    ReleaseCase{BALLOON_CLOSE_ON_LEFT_UP, false, true, false, true},
                    // A close button that is not being pressed leaves the other rules.
                    ReleaseCase{BALLOON_CLOSE_BUTTON, true, true, true, false}));

TEST(BalloonMouseTest, RightUpClosesOnlyWithItsOption)
{
    EXPECT_FALSE(BalloonMouse(BALLOON_CLOSE_ON_LEFT_UP).RightUp().beginFadeOut);
    const BalloonMouse::Action action = BalloonMouse(BALLOON_CLOSE_ON_RIGHT_UP).RightUp();
    EXPECT_TRUE(action.beginFadeOut);
    EXPECT_TRUE(action.releaseCapture);
}

TEST(BalloonKeyCloseListTest, KeyPressClosesAllRegisteredAndTheWatcherStaysUntilADestruction)
{
    BalloonKeyCloseList list;
    int a = 0;
    int b = 0;
    EXPECT_TRUE(list.Register(&a));
    EXPECT_FALSE(list.Register(&b));
    EXPECT_TRUE(list.KeyEvent(true).empty());
    EXPECT_EQ(list.KeyEvent(false), (std::vector<BalloonKeyCloseList::Handle>{&a, &b}));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(list.WatcherInstalled());
    EXPECT_TRUE(list.KeyEvent(false).empty());
    // The first destruction that finds the list empty removes the watcher.
    EXPECT_TRUE(list.Unregister(&a));
    EXPECT_FALSE(list.WatcherInstalled());
    EXPECT_FALSE(list.Unregister(&b));
}

TEST(BalloonKeyCloseListTest, UnregisterRemovesEveryEntryOfTheBalloon)
{
    BalloonKeyCloseList list;
    int a = 0;
    int b = 0;
    list.Register(&a);
    list.Register(&b);
    list.Register(&a);
    EXPECT_FALSE(list.Unregister(&a));
    EXPECT_EQ(list.KeyEvent(false), (std::vector<BalloonKeyCloseList::Handle>{&b}));
}

struct BorderCase {
    BalloonColor background;
    BalloonColor foreground;
    BalloonColor light;
    BalloonColor blend;
};

void PrintTo(const BorderCase& c, std::ostream* out)
{
    PrintTo(c.background, out);
    *out << " on ";
    PrintTo(c.foreground, out);
}

class BalloonBorderTest : public testing::TestWithParam<BorderCase> {};

TEST_P(BalloonBorderTest, ThirdsTruncatedAndNeverPastAByte)
{
    const BorderCase& c = GetParam();
    EXPECT_EQ(BalloonBorder::Light(c.background), c.light);
    EXPECT_EQ(BalloonBorder::Blend(c.foreground, c.background), c.blend);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, BalloonBorderTest,
    testing::Values(BorderCase{{255, 255, 225}, {0, 0, 0}, {255, 255, 245}, {170, 170, 150}},
                    BorderCase{{255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}},
                    BorderCase{{0, 0, 0}, {255, 128, 2}, {170, 170, 170}, {85, 42, 0}},
                    BorderCase{{100, 101, 102}, {0, 0, 0}, {203, 203, 204}, {66, 66, 68}}));

TEST(DialogUnitsTest, TemplateUnitsScaleWithTheFont)
{
    // A font whose 52 sample letters measure 312 pixels and whose lines are 13 pixels high.
    EXPECT_EQ(DialogUnits::BaseXFromSampleWidth(312), 6);
    EXPECT_EQ(DialogUnits::BaseXFromSampleWidth(338), 7);
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.ToPixelsX(274), 411);
    EXPECT_EQ(units.ToPixelsY(94), 153);
    EXPECT_EQ(units.ToPixelsY(73), 119);
    EXPECT_EQ(units.ToPixelsY(1), 2);
    EXPECT_EQ(units.ToPixelsX(-2), -3);
}
} // namespace
