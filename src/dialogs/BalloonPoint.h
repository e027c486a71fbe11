#pragma once

// A point in pixels, on the screen or in a window.
struct BalloonPoint {
    int x = 0;
    int y = 0;

    bool operator==(const BalloonPoint&) const = default;
};
