#include "dialogs/BalloonRegion.h"

#include <algorithm>
#include <cmath>

namespace {
using Row = std::vector<std::pair<int, int>>;

// Sorts the runs and joins those that overlap or touch.
Row Normalised(Row runs)
{
    std::sort(runs.begin(), runs.end());
    Row merged;
    for (const auto& run : runs) {
        if (run.first >= run.second)
            continue;
        if (!merged.empty() && run.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, run.second);
        else
            merged.push_back(run);
    }
    return merged;
}

Row Intersected(const Row& a, const Row& b)
{
    Row result;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const int left = std::max(a[i].first, b[j].first);
        const int right = std::min(a[i].second, b[j].second);
        if (left < right)
            result.emplace_back(left, right);
        if (a[i].second < b[j].second)
            ++i;
        else
            ++j;
    }
    return result;
}

Row Subtracted(const Row& a, const Row& b)
{
    Row result;
    std::size_t j = 0;
    for (auto [left, right] : a) {
        while (j < b.size() && b[j].second <= left)
            ++j;
        for (std::size_t k = j; k < b.size() && b[k].first < right; ++k) {
            if (b[k].first > left)
                result.emplace_back(left, b[k].first);
            left = std::max(left, b[k].second);
        }
        if (left < right)
            result.emplace_back(left, right);
    }
    return result;
}
} // namespace

const BalloonRegion::Row& BalloonRegion::RowAt(int y) const
{
    static const Row kEmpty;
    if (y < m_top || y >= m_top + static_cast<int>(m_rows.size()))
        return kEmpty;
    return m_rows[static_cast<std::size_t>(y - m_top)];
}

void BalloonRegion::Trim()
{
    while (!m_rows.empty() && m_rows.back().empty())
        m_rows.pop_back();
    const auto first =
        std::find_if(m_rows.begin(), m_rows.end(), [](const Row& row) { return !row.empty(); });
    m_top += static_cast<int>(first - m_rows.begin());
    m_rows.erase(m_rows.begin(), first);
    if (m_rows.empty())
        m_top = 0;
}

BalloonRegion BalloonRegion::Rectangle(const BalloonRect& rect)
{
    BalloonRegion region;
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return region;
    region.m_top = rect.top;
    region.m_rows.assign(static_cast<std::size_t>(rect.Height()), Row{{rect.left, rect.right}});
    return region;
}

BalloonRegion BalloonRegion::Polygon(const std::vector<BalloonPoint>& points)
{
    BalloonRegion region;
    if (points.size() < 3)
        return region;
    const auto [low, high] =
        std::minmax_element(points.begin(), points.end(),
                            [](const BalloonPoint& a, const BalloonPoint& b) { return a.y < b.y; });
    region.m_top = low->y;
    std::vector<double> crossings;
    for (int y = low->y; y < high->y; ++y) {
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
        Row runs;
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            runs.emplace_back(static_cast<int>(std::ceil(crossings[i])),
                              static_cast<int>(std::ceil(crossings[i + 1])));
        }
        region.m_rows.push_back(Normalised(std::move(runs)));
    }
    region.Trim();
    return region;
}

BalloonRegion BalloonRegion::RoundRect(const BalloonRect& rect, int ellipseWidth, int ellipseHeight)
{
    BalloonRegion region;
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return region;
    const double rx = std::min(ellipseWidth, rect.Width()) / 2.0;
    const double ry = std::min(ellipseHeight, rect.Height()) / 2.0;
    region.m_top = rect.top;
    for (int y = rect.top; y < rect.bottom; ++y) {
        // Within the corner rows a pixel's centre must lie inside the corner's ellipse.
        const double py = y + 0.5;
        double ny = 0.0;
        if (py < rect.top + ry)
            ny = (py - (rect.top + ry)) / ry;
        else if (py > rect.bottom - ry)
            ny = (py - (rect.bottom - ry)) / ry;
        if (ny * ny > 1.0) {
            region.m_rows.emplace_back();
            continue;
        }
        const double dx = rx * std::sqrt(1.0 - ny * ny);
        const int left =
            std::max(rect.left, static_cast<int>(std::ceil(rect.left + rx - dx - 0.5)));
        const int right =
            std::min(rect.right, static_cast<int>(std::floor(rect.right - rx + dx - 0.5)) + 1);
        region.m_rows.push_back(left < right ? Row{{left, right}} : Row{});
    }
    region.Trim();
    return region;
}

BalloonRegion BalloonRegion::United(const BalloonRegion& other) const
{
    if (IsEmpty())
        return other;
    if (other.IsEmpty())
        return *this;
    BalloonRegion united;
    united.m_top = std::min(m_top, other.m_top);
    const int bottom = std::max(m_top + static_cast<int>(m_rows.size()),
                                other.m_top + static_cast<int>(other.m_rows.size()));
    for (int y = united.m_top; y < bottom; ++y) {
        Row runs = RowAt(y);
        const Row& more = other.RowAt(y);
        runs.insert(runs.end(), more.begin(), more.end());
        united.m_rows.push_back(Normalised(std::move(runs)));
    }
    return united;
}

BalloonRegion BalloonRegion::Offset(int dx, int dy) const
{
    BalloonRegion moved = *this;
    if (moved.IsEmpty())
        return moved;
    moved.m_top += dy;
    for (Row& row : moved.m_rows) {
        for (auto& run : row) {
            run.first += dx;
            run.second += dx;
        }
    }
    return moved;
}

BalloonRegion BalloonRegion::Frame(int width, int height) const
{
    BalloonRegion frame;
    frame.m_top = m_top;
    for (int y = m_top; y < m_top + static_cast<int>(m_rows.size()); ++y) {
        const Row& row = RowAt(y);
        // A pixel is inside the band's hole when the pixels width to either side and height
        // above and below all belong to the region.
        Row inner;
        for (const auto& [left, right] : row) {
            if (left + width < right - width)
                inner.emplace_back(left + width, right - width);
        }
        inner = Intersected(Intersected(inner, RowAt(y - height)), RowAt(y + height));
        frame.m_rows.push_back(Subtracted(row, inner));
    }
    frame.Trim();
    return frame;
}

bool BalloonRegion::Contains(BalloonPoint point) const
{
    const Row& row = RowAt(point.y);
    return std::any_of(row.begin(), row.end(), [&point](const std::pair<int, int>& run) {
        return point.x >= run.first && point.x < run.second;
    });
}

BalloonRect BalloonRegion::Bounds() const
{
    if (IsEmpty())
        return {};
    BalloonRect bounds{m_rows.front().front().first, m_top, m_rows.front().back().second,
                       m_top + static_cast<int>(m_rows.size())};
    for (const Row& row : m_rows) {
        if (row.empty())
            continue;
        bounds.left = std::min(bounds.left, row.front().first);
        bounds.right = std::max(bounds.right, row.back().second);
    }
    return bounds;
}

std::vector<BalloonRect> BalloonRegion::Rects() const
{
    std::vector<BalloonRect> rects;
    std::size_t bandStart = 0;
    for (std::size_t i = 1; i <= m_rows.size(); ++i) {
        if (i < m_rows.size() && m_rows[i] == m_rows[bandStart])
            continue;
        const int top = m_top + static_cast<int>(bandStart);
        const int bottom = m_top + static_cast<int>(i);
        for (const auto& [left, right] : m_rows[bandStart])
            rects.push_back({left, top, right, bottom});
        bandStart = i;
    }
    return rects;
}
