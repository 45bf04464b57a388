// Strips, contours, axes and arrows the renderer draws.
#include "plot/draw_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vx {
namespace {

using Strips = std::vector<IndexRange>;

TEST(DrawStrips, PolylineRunsReachTheFirstInvalidSample) {
    struct Case {
        std::vector<std::int32_t> flags;
        Strips expected;
    } cases[] = {
        {{1, 1, 1, 1}, {{0, 3}}},
        // samples 5 and 6 invalid: a line to 5, a gap, then on from 7
        {{1, 1, 1, 1, 1, 0, 0, 1, 1, 1}, {{0, 5}, {7, 9}}},
        {{1, 1, 0, 1, 1}, {{0, 4}}},  // one invalid sample is bridged
        {{0, 0, 1, 1}, {{2, 3}}},     // the first sample joins while "before it" counts as valid
        {{0, 1, 1}, {{0, 2}}},
        {{1, 0, 0, 0, 1}, {{0, 1}}},  // the lone last point draws nothing
        {{0, 0, 0}, {}},
        {{}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(polylineStrips(c.flags), c.expected);
}

TEST(DrawStrips, CurveSegmentsNeedOneValidEnd) {
    struct Case {
        std::vector<std::int32_t> flags;
        Strips expected;
    } cases[] = {
        {{1, 1, 1}, {{0, 2}}},
        {{1, 1, 0, 0, 1, 1}, {{0, 2}, {3, 5}}},
        {{0, 0, 1, 0, 0}, {{1, 3}}},
        {{0, 0}, {}},
        {{1}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(curveStrips(c.flags), c.expected);
}

// A G x G grid over [-2, 2]^2 with the values of f.
template <typename F>
std::vector<float> grid(int G, F f) {
    std::vector<float> g;
    for (int j = 0; j < G; ++j)
        for (int k = 0; k < G; ++k) {
            float x = -2 + 4.0f * k / (G - 1), y = -2 + 4.0f * j / (G - 1);
            g.insert(g.end(), {x, y, f(x, y)});
        }
    return g;
}

TEST(DrawContour, CircleSegmentsLieOnTheCircle) {
    std::vector<Segment2> out;
    contourSegments(grid(21, [](float x, float y) { return x * x + y * y - 1; }), 21, out);
    ASSERT_GT(out.size(), 20u);
    // Every crossing is interpolated on a grid edge: within a cell of the circle.
    for (const Segment2& s : out)
        for (Point2 p : {s.a, s.b}) EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 0.05);
}

TEST(DrawContour, CrossingsPerTriangleAndSigns) {
    auto cell = [](float v0, float v1, float v2, float v3) {
        // p0 (0,0), p1 (1,0), p2 (1,1), p3 (0,1) as a 2 x 2 grid
        std::vector<float> g{0, 0, v0, 1, 0, v1, 0, 1, v3, 1, 1, v2};
        std::vector<Segment2> out;
        contourSegments(g, 2, out);
        return out;
    };
    // p1 positive only: one segment in the first triangle, none in the second.
    auto one = cell(-1, 1, -1, -1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_FLOAT_EQ(one[0].a.x, 0.5f);  // on edge p0-p1
    EXPECT_FLOAT_EQ(one[0].a.y, 0);
    EXPECT_FLOAT_EQ(one[0].b.x, 1);     // on edge p1-p2
    EXPECT_FLOAT_EQ(one[0].b.y, 0.5f);
    // p0 positive: it belongs to both triangles.
    EXPECT_EQ(cell(3, -1, -1, -1).size(), 2u);
    // A zero corner differs in sign from both neighbours: three crossings
    // per triangle, each giving two segments from the first.
    EXPECT_EQ(cell(0, 1, -1, 1).size(), 4u);
    // Not-a-number counts as negative; an infinite value gives no point.
    float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(cell(-1, -1, -1, -1).size(), 0u);
    EXPECT_EQ(cell(nan, -1, -1, -1).size(), 0u);
    for (const Segment2& s : cell(inf, -1, -1, -1))
        EXPECT_TRUE(std::isfinite(s.a.x) && std::isfinite(s.b.x));
    EXPECT_EQ(contourSign(nan), -1);
    EXPECT_EQ(contourSign(0), 0);
    EXPECT_EQ(contourSign(-0.0f), 0);
}

TEST(DrawAxes, AxesOnlyThroughTheWindowAndTicksClampedToIt) {
    // Both axes inside: 2 axes + 13 y ticks + 13 x ticks (-6..6 steps of 1).
    auto inside = axesSegments(View2D{-6, 6, -6, 6});
    ASSERT_EQ(inside.size(), 2u + 13 + 13);
    EXPECT_FLOAT_EQ(inside[0].a.x, -6);
    EXPECT_FLOAT_EQ(inside[0].b.x, 6);
    EXPECT_FLOAT_EQ(inside[0].a.y, 0);
    EXPECT_FLOAT_EQ(inside[1].a.x, 0);
    // first y tick at -6, spanning dx/100 either side of x = 0
    EXPECT_FLOAT_EQ(inside[2].a.x, -0.12f);
    EXPECT_FLOAT_EQ(inside[2].b.x, 0.12f);
    EXPECT_FLOAT_EQ(inside[2].a.y, -6);

    // 0 on the edge is not strictly inside: no y axis; x > 0 clamps the
    // y ticks to xMin.
    auto right = axesSegments(View2D{0, 12, -6, 6});
    ASSERT_EQ(right.size(), 1u + 13 + 13);  // only the x axis
    EXPECT_FLOAT_EQ(right[0].a.y, 0);
    EXPECT_FLOAT_EQ(right[1].a.x, 0 - 0.12f);

    auto away = axesSegments(View2D{2, 14, -20, -8});
    EXPECT_FLOAT_EQ(away[0].a.x, 2 - 0.12f);  // y ticks at xMin
    EXPECT_FLOAT_EQ(away[0].a.y, -20);
    EXPECT_FLOAT_EQ(away[1].a.y, -19);  // a round step of 1 for a window 12 high
    EXPECT_FLOAT_EQ(away.back().a.y, -8 - 0.12f);  // x ticks at yMax
    EXPECT_FLOAT_EQ(away.back().b.y, -8 + 0.12f);

    // A window far from 0 and very narrow still ends.
    EXPECT_LE(axesSegments(View2D{1e7f, 1e7f + 1, 0, 1e-30f}).size(), 2u * 64);
    EXPECT_TRUE(axesSegments(View2D{1, 1, 1, 1}).empty());
}

TEST(DrawArrow, SpansCellsAndHeadSitsAheadOfTheTip) {
    Arrow2 a = arrow2D({1, 1}, {2, 0}, 0.5f, 0.25f);
    EXPECT_FLOAT_EQ(a.tip.x, 2);
    EXPECT_FLOAT_EQ(a.tip.y, 1);
    EXPECT_FLOAT_EQ(a.head[0].x, 2.2f);
    EXPECT_FLOAT_EQ(a.head[0].y, 1);
    EXPECT_FLOAT_EQ(a.head[1].x, 2);
    EXPECT_FLOAT_EQ(a.head[1].y, 0.9f);
    EXPECT_FLOAT_EQ(a.head[2].y, 1.1f);
    Arrow2 b = arrow2D({0, 0}, {0, -1}, 1, 2);
    EXPECT_FLOAT_EQ(b.tip.y, -2);
    EXPECT_FLOAT_EQ(b.head[0].y, -2.4f);
    EXPECT_FLOAT_EQ(b.head[1].x, -0.2f);
}

}  // namespace
}  // namespace vx
