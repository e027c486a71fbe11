#pragma once

#include <cstdint>

// An RGB colour, one byte per component.
struct BalloonColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const BalloonColor&) const = default;
};
