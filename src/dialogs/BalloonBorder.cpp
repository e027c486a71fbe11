#include "dialogs/BalloonBorder.h"

namespace {
std::uint8_t Lift(std::uint8_t background)
{
    return static_cast<std::uint8_t>(background / 3 + 170);
}

std::uint8_t Mix(std::uint8_t foreground, std::uint8_t background)
{
    return static_cast<std::uint8_t>(foreground / 3 + 2 * (background / 3));
}
} // namespace

BalloonColor BalloonBorder::Light(BalloonColor background)
{
    return {Lift(background.red), Lift(background.green), Lift(background.blue)};
}

BalloonColor BalloonBorder::Blend(BalloonColor foreground, BalloonColor background)
{
    return {Mix(foreground.red, background.red), Mix(foreground.green, background.green),
            Mix(foreground.blue, background.blue)};
}
