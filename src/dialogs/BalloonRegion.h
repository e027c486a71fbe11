#pragma once

#include "dialogs/BalloonPoint.h"
#include "dialogs/BalloonRect.h"

#include <utility>
#include <vector>

// A set of pixels: the shape of a balloon window and the bands drawn along its outline. Held
// row by row as sorted runs, so that every operation costs per row, not per pixel.
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

    bool IsEmpty() const { return m_rows.empty(); }
    bool Contains(BalloonPoint point) const;
    // The smallest rectangle that holds every pixel; empty for an empty region.
    BalloonRect Bounds() const;
    // The region as disjoint rectangles, band by band from the top, left to right within a
    // band. Equal regions give equal lists.
    std::vector<BalloonRect> Rects() const;

    bool operator==(const BalloonRegion& other) const = default;

private:
    // [left, right) runs of one row, sorted, neither overlapping nor touching.
    using Row = std::vector<std::pair<int, int>>;

    const Row& RowAt(int y) const;
    // Drops empty rows at both ends, so that equal sets have equal members.
    void Trim();

    int m_top = 0;
    std::vector<Row> m_rows;
};
