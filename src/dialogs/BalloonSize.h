#pragma once

// A width and a height in pixels.
struct BalloonSize {
    int width = 0;
    int height = 0;

    bool operator==(const BalloonSize&) const = default;
};
