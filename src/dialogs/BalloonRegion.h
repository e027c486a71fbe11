#pragma once

#include "dialogs/BalloonPoint.h"
#include "dialogs/BalloonRect.h"

#include <cstdint>
#include <utility>
#include <vector>

// A set of pixels: the shape of a balloon window and the bands drawn along its outline.
class BalloonRegion {
public:
    BalloonRegion() = default;

    static BalloonRegion Rectangle(const BalloonRect& rect);
    // Filled with the alternate (even-odd) rule; a pixel belongs to the polygon when its
    // top-left corner lies inside, so the right and bottom edges stay outside as with a
    // rectangle.
    static BalloonRegion Polygon(const std::vector<BalloonPoint>& points);
    // A rectangle whose corners are rounded by an ellipse of the given width and height.
    static BalloonRegion RoundRect(const BalloonRect& rect, int ellipseWidth, int ellipseHeight);

    BalloonRegion United(const BalloonRegion& other) const;
    BalloonRegion Offset(int dx, int dy) const;
    // The pixels of the region that lie within width pixels of its outside horizontally or
    // height pixels vertically: the band that framing the region paints.
    BalloonRegion Frame(int width, int height) const;

    bool IsEmpty() const;
    bool Contains(BalloonPoint point) const;
    // The smallest rectangle that holds every pixel; empty for an empty region.
    BalloonRect Bounds() const;
    // The region as disjoint rectangles, band by band from the top, left to right within a
    // band. Equal regions give equal lists.
    std::vector<BalloonRect> Rects() const;

    bool operator==(const BalloonRegion& other) const { return Rects() == other.Rects(); }

private:
    explicit BalloonRegion(const BalloonRect& bounds);
    bool Test(int x, int y) const;
    void Set(int x, int y);
    // The runs of one row as [left, right) pairs.
    std::vector<std::pair<int, int>> RowRuns(int y) const;

    BalloonRect m_bounds;
    std::vector<std::uint8_t> m_pixels;
};
