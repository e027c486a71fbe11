#pragma once

#include "dialogs/BalloonPoint.h"
#include "dialogs/BalloonRect.h"

#include <array>

// Where a balloon window goes and how its tail is drawn.
struct BalloonPlacement {
    // 0 and 1: tail at the top; 2 and 3: at the bottom; 0 and 2: the tip toward the right part.
    int quadrant = 0;
    // The window on the screen.
    BalloonRect window;
    // The tail triangle in window coordinates; the second point is the tip.
    std::array<BalloonPoint, 3> tail{};
    // The rows that the rounded rectangle of the body spans, in window coordinates.
    int bodyTop = 0;
    int bodyBottom = 0;

    bool operator==(const BalloonPlacement&) const = default;
};
