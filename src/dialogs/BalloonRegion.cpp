#include "dialogs/BalloonRegion.h"

#include <algorithm>
#include <cmath>

BalloonRegion::BalloonRegion(const BalloonRect& bounds)
    : m_bounds(bounds), m_pixels(static_cast<std::size_t>(std::max(bounds.Width(), 0)) *
                                     static_cast<std::size_t>(std::max(bounds.Height(), 0)),
                                 0)
{
}

bool BalloonRegion::Test(int x, int y) const
{
    if (!m_bounds.Contains({x, y}))
        return false;
    return m_pixels[static_cast<std::size_t>(y - m_bounds.top) *
                        static_cast<std::size_t>(m_bounds.Width()) +
                    static_cast<std::size_t>(x - m_bounds.left)] != 0;
}

void BalloonRegion::Set(int x, int y)
{
    m_pixels[static_cast<std::size_t>(y - m_bounds.top) *
                 static_cast<std::size_t>(m_bounds.Width()) +
             static_cast<std::size_t>(x - m_bounds.left)] = 1;
}

BalloonRegion BalloonRegion::Rectangle(const BalloonRect& rect)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return {};
    BalloonRegion region(rect);
    std::fill(region.m_pixels.begin(), region.m_pixels.end(), 1);
    return region;
}

BalloonRegion BalloonRegion::Polygon(const std::vector<BalloonPoint>& points)
{
    if (points.size() < 3)
        return {};
    BalloonRect bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const BalloonPoint& point : points) {
        bounds.left = std::min(bounds.left, point.x);
        bounds.top = std::min(bounds.top, point.y);
        bounds.right = std::max(bounds.right, point.x);
        bounds.bottom = std::max(bounds.bottom, point.y);
    }
    if (bounds.Width() <= 0 || bounds.Height() <= 0)
        return {};
    BalloonRegion region(bounds);
    std::vector<double> crossings;
    for (int y = bounds.top; y < bounds.bottom; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const BalloonPoint& a = points[i];
            const BalloonPoint& b = points[(i + 1) % points.size()];
            // Half-open in y so that a shared vertex is counted once.
            if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
                crossings.push_back(a.x + static_cast<double>(y - a.y) * (b.x - a.x) /
                                              static_cast<double>(b.y - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int first = static_cast<int>(std::ceil(crossings[i]));
            const int last = static_cast<int>(std::ceil(crossings[i + 1]));
            for (int x = std::max(first, bounds.left); x < std::min(last, bounds.right); ++x)
                region.Set(x, y);
        }
    }
    return region;
}

BalloonRegion BalloonRegion::RoundRect(const BalloonRect& rect, int ellipseWidth, int ellipseHeight)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return {};
    BalloonRegion region(rect);
    const double rx = std::min(ellipseWidth, rect.Width()) / 2.0;
    const double ry = std::min(ellipseHeight, rect.Height()) / 2.0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            // Pixel centres in the corner squares must lie inside the corner's ellipse.
            const double px = x + 0.5;
            const double py = y + 0.5;
            double cx = px;
            double cy = py;
            if (px < rect.left + rx)
                cx = rect.left + rx;
            else if (px > rect.right - rx)
                cx = rect.right - rx;
            if (py < rect.top + ry)
                cy = rect.top + ry;
            else if (py > rect.bottom - ry)
                cy = rect.bottom - ry;
            const double nx = rx > 0 ? (px - cx) / rx : 0.0;
            const double ny = ry > 0 ? (py - cy) / ry : 0.0;
            if (nx * nx + ny * ny <= 1.0)
                region.Set(x, y);
        }
    }
    return region;
}

BalloonRegion BalloonRegion::United(const BalloonRegion& other) const
{
    if (IsEmpty())
        return other;
    if (other.IsEmpty())
        return *this;
    const BalloonRect bounds{std::min(m_bounds.left, other.m_bounds.left),
                             std::min(m_bounds.top, other.m_bounds.top),
                             std::max(m_bounds.right, other.m_bounds.right),
                             std::max(m_bounds.bottom, other.m_bounds.bottom)};
    BalloonRegion united(bounds);
    for (int y = bounds.top; y < bounds.bottom; ++y) {
        for (int x = bounds.left; x < bounds.right; ++x) {
            if (Test(x, y) || other.Test(x, y))
                united.Set(x, y);
        }
    }
    return united;
}

BalloonRegion BalloonRegion::Offset(int dx, int dy) const
{
    BalloonRegion moved = *this;
    moved.m_bounds = {m_bounds.left + dx, m_bounds.top + dy, m_bounds.right + dx,
                      m_bounds.bottom + dy};
    return moved;
}

BalloonRegion BalloonRegion::Frame(int width, int height) const
{
    if (IsEmpty())
        return {};
    BalloonRegion frame(m_bounds);
    for (int y = m_bounds.top; y < m_bounds.bottom; ++y) {
        for (int x = m_bounds.left; x < m_bounds.right; ++x) {
            if (!Test(x, y))
                continue;
            const bool inner = Test(x - width, y) && Test(x + width, y) && Test(x, y - height) &&
                               Test(x, y + height);
            if (!inner)
                frame.Set(x, y);
        }
    }
    return frame;
}

bool BalloonRegion::IsEmpty() const
{
    return std::find(m_pixels.begin(), m_pixels.end(), 1) == m_pixels.end();
}

bool BalloonRegion::Contains(BalloonPoint point) const
{
    return Test(point.x, point.y);
}

BalloonRect BalloonRegion::Bounds() const
{
    const std::vector<BalloonRect> rects = Rects();
    if (rects.empty())
        return {};
    BalloonRect bounds = rects.front();
    for (const BalloonRect& rect : rects) {
        bounds.left = std::min(bounds.left, rect.left);
        bounds.top = std::min(bounds.top, rect.top);
        bounds.right = std::max(bounds.right, rect.right);
        bounds.bottom = std::max(bounds.bottom, rect.bottom);
    }
    return bounds;
}

std::vector<std::pair<int, int>> BalloonRegion::RowRuns(int y) const
{
    std::vector<std::pair<int, int>> runs;
    for (int x = m_bounds.left; x < m_bounds.right; ++x) {
        if (!Test(x, y))
            continue;
        if (!runs.empty() && runs.back().second == x)
            runs.back().second = x + 1;
        else
            runs.emplace_back(x, x + 1);
    }
    return runs;
}

std::vector<BalloonRect> BalloonRegion::Rects() const
{
    std::vector<BalloonRect> rects;
    int bandTop = m_bounds.top;
    std::vector<std::pair<int, int>> bandRuns;
    const auto closeBand = [&](int bandBottom) {
        for (const auto& [left, right] : bandRuns)
            rects.push_back({left, bandTop, right, bandBottom});
    };
    for (int y = m_bounds.top; y < m_bounds.bottom; ++y) {
        std::vector<std::pair<int, int>> runs = RowRuns(y);
        if (runs != bandRuns) {
            closeBand(y);
            bandRuns = std::move(runs);
            bandTop = y;
        }
    }
    closeBand(m_bounds.bottom);
    return rects;
}
