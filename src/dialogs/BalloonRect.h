#pragma once

#include "dialogs/BalloonPoint.h"

// A rectangle in pixels whose right and bottom edges lie just outside it.
struct BalloonRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(BalloonPoint point) const
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    // Each coordinate halved with truncation toward zero.
    BalloonPoint Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }

    bool operator==(const BalloonRect&) const = default;
};
