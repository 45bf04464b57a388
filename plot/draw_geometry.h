#pragma once
// Which lines the renderer draws for curves, contours, axes and arrows,
// worked out without OpenGL so the rules can be tested on their own.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "plot/plot_record.h"

namespace vx {

// A run of consecutive sample indices drawn as one line strip, both ends included.
struct IndexRange {
    int first = 0, last = 0;
};
constexpr bool operator==(IndexRange a, IndexRange b) { return a.first == b.first && a.last == b.last; }

// Strips of a 2D graph: a sample is part of the line when it or the sample
// before it is valid, so each valid run reaches on to the first invalid
// sample after it; two invalid samples in a row break the line. Strips of
// a single point draw nothing and are left out.
std::vector<IndexRange> polylineStrips(std::span<const std::int32_t> flags);
// Strips of a space curve: the segment from sample k to k+1 is drawn when
// either end is valid.
std::vector<IndexRange> curveStrips(std::span<const std::int32_t> flags);

struct Point2 {
    float x = 0, y = 0;
};
struct Segment2 {
    Point2 a, b;
};

// Sign of a grid value as the contour test sees it: not-a-number counts as negative.
int contourSign(float v);
// Contour lines of one implicit graph: `grid` holds G x G entries (x, y,
// value), row j over y. Each cell is split along its diagonal p0-p2 into two
// triangles; in each, the first edge crossing is joined to every later one.
// Crossings that are not finite (a value of infinity) are skipped.
void contourSegments(std::span<const float> grid, int G, std::vector<Segment2>& out);

// The 2D axes (only where 0 lies strictly inside the window) and their
// ticks on round values (axisTickSteps), along the axis clamped into the window.
std::vector<Segment2> axesSegments(const View2D& view, bool equalScale = false);

// One 2D arrow: the vector (already scaled so the longest is 2) spans cells
// of size (cellX, cellY); the head is a triangle ahead of the tip.
struct Arrow2 {
    Point2 base, tip;
    std::array<Point2, 3> head;
};
Arrow2 arrow2D(Point2 base, Point2 vector, float cellX, float cellY);

}  // namespace vx
