#include "plot/draw_geometry.h"

#include <cmath>

#include "plot/view_math.h"

namespace vx {

namespace {

// Collects consecutive ranges; ranges of one index are dropped.
struct StripBuilder {
    std::vector<IndexRange> strips;
    int first = -1, last = -1;
    void extend(int from, int to) {
        if (first < 0) first = from;
        last = to;
    }
    void close() {
        if (first >= 0 && last > first) strips.push_back(IndexRange{first, last});
        first = last = -1;
    }
};

}  // namespace

std::vector<IndexRange> polylineStrips(std::span<const std::int32_t> flags) {
    StripBuilder b;
    std::int32_t previous = 1;
    for (size_t k = 0; k < flags.size(); ++k) {
        if (flags[k] || previous)
            b.extend(static_cast<int>(k), static_cast<int>(k));
        else
            b.close();
        previous = flags[k];
    }
    b.close();
    return b.strips;
}

std::vector<IndexRange> curveStrips(std::span<const std::int32_t> flags) {
    StripBuilder b;
    for (size_t k = 0; k + 1 < flags.size(); ++k) {
        if (flags[k] || flags[k + 1])
            b.extend(static_cast<int>(k), static_cast<int>(k + 1));
        else
            b.close();
    }
    b.close();
    return b.strips;
}

int contourSign(float v) {
    if (v > 0) return 1;
    if (v == 0) return 0;
    return -1;  // negative or not a number
}

namespace {

struct GridPoint {
    float x, y, v;
};

// Walks the three edges of one triangle; joins the first crossing to each later one.
void triangleContour(const std::array<std::array<GridPoint, 2>, 3>& edges, std::vector<Segment2>& out) {
    bool haveFirst = false;
    Point2 first;
    for (const auto& edge : edges) {
        const GridPoint& a = edge[0];
        const GridPoint& b = edge[1];
        if (contourSign(a.v) == contourSign(b.v)) continue;
        float t = a.v / (a.v - b.v);
        Point2 p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        if (!haveFirst) {
            first = p;
            haveFirst = true;
        } else {
            out.push_back(Segment2{first, p});
        }
    }
}

}  // namespace

void contourSegments(std::span<const float> grid, int G, std::vector<Segment2>& out) {
    if (G < 2 || grid.size() < static_cast<size_t>(G) * static_cast<size_t>(G) * 3) return;
    auto at = [&](int j, int k) {
        size_t i = (static_cast<size_t>(j) * static_cast<size_t>(G) + static_cast<size_t>(k)) * 3;
        return GridPoint{grid[i], grid[i + 1], grid[i + 2]};
    };
    for (int j = 0; j + 1 < G; ++j) {
        for (int k = 0; k + 1 < G; ++k) {
            GridPoint p0 = at(j, k), p1 = at(j, k + 1), p2 = at(j + 1, k + 1), p3 = at(j + 1, k);
            triangleContour({{{p0, p1}, {p1, p2}, {p0, p2}}}, out);
            triangleContour({{{p0, p3}, {p3, p2}, {p2, p0}}}, out);
        }
    }
}

std::vector<Segment2> axesSegments(const View2D& v, bool equalScale) {
    std::vector<Segment2> lines;
    float dx = v.xMax - v.xMin, dy = v.yMax - v.yMin;
    if (v.yMin < 0 && 0 < v.yMax) lines.push_back(Segment2{{v.xMin, 0}, {v.xMax, 0}});
    if (v.xMin < 0 && 0 < v.xMax) lines.push_back(Segment2{{0, v.yMin}, {0, v.yMax}});

    // The ticks sit on the axis, or on the window edge nearest to it.
    float x0 = v.xMin > 0 ? v.xMin : v.xMax < 0 ? v.xMax : 0;
    float y0 = v.yMin > 0 ? v.yMin : v.yMax < 0 ? v.yMax : 0;
    TickSteps steps = axisTickSteps(v, equalScale);
    for (double y : tickValues(v.yMin, v.yMax, steps.y)) {
        float fy = static_cast<float>(y);
        lines.push_back(Segment2{{x0 - dx / 100, fy}, {x0 + dx / 100, fy}});
    }
    for (double x : tickValues(v.xMin, v.xMax, steps.x)) {
        float fx = static_cast<float>(x);
        lines.push_back(Segment2{{fx, y0 - dy / 100}, {fx, y0 + dy / 100}});
    }
    return lines;
}

Arrow2 arrow2D(Point2 base, Point2 vector, float cellX, float cellY) {
    Point2 w{vector.x * cellX, vector.y * cellY};
    Point2 tip{base.x + w.x, base.y + w.y};
    Arrow2 a;
    a.base = base;
    a.tip = tip;
    a.head = {Point2{tip.x + 0.2f * w.x, tip.y + 0.2f * w.y}, Point2{tip.x + 0.1f * w.y, tip.y - 0.1f * w.x},
              Point2{tip.x - 0.1f * w.y, tip.y + 0.1f * w.x}};
    return a;
}

}  // namespace vx
