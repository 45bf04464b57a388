#pragma once
// One plot as the user created it: its kind, the copied graph expressions,
// variable names and ranges, the view the mouse changes, and for canvases
// the elements drawn into them. A default-constructed record is all zeros,
// so a plot that was never computed reports zero bounds.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/expression.h"

namespace vx {

// The number stored in a record; the worker, the renderer and plotsize
// switch on it. The values are fixed (they are also the Quality page's kinds).
enum class PlotKind : std::uint32_t {
    Plot = 0,
    Plot3d = 1,
    Tubeplot = 2,
    Implicitplot = 3,
    Spacecurve = 4,
    Implicitplot3d = 5,
    Customplot = 6,
    Customplot3d = 7,
    Vectorplot = 8,
    Vectorplot3d = 9,
};

constexpr bool isPlot2D(PlotKind k) {
    return k == PlotKind::Plot || k == PlotKind::Implicitplot || k == PlotKind::Customplot ||
           k == PlotKind::Vectorplot;
}
constexpr int plotDimensions(PlotKind k) { return isPlot2D(k) ? 2 : 3; }
// Surfaces that can be written as OBJ.
constexpr bool isMeshKind(PlotKind k) {
    return k == PlotKind::Plot3d || k == PlotKind::Tubeplot || k == PlotKind::Implicitplot3d;
}
constexpr bool isCanvasKind(PlotKind k) { return k == PlotKind::Customplot || k == PlotKind::Customplot3d; }

// A colour as plotting stores it everywhere: blue, green, red, unused.
// The renderer divides each byte by 256.
struct PlotColour {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t unused = 0;
};
static_assert(sizeof(PlotColour) == 4);

constexpr PlotColour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return PlotColour{b, g, r, 0}; }
constexpr bool operator==(PlotColour a, PlotColour b) {
    return a.blue == b.blue && a.green == b.green && a.red == b.red && a.unused == b.unused;
}

// Canvas elements, appended in drawing order.
struct CanvasPixel2D {
    float x = 0, y = 0;
    PlotColour colour;
};
struct CanvasLine2D {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PlotColour colour;
};
struct CanvasPolygon2D {
    std::vector<std::array<float, 2>> points;  // vertex count = points.size()
    PlotColour colour;
};
struct CanvasPixel3D {
    float x = 0, y = 0, z = 0;
    PlotColour colour;
};
struct CanvasLine3D {
    float x1 = 0, y1 = 0, z1 = 0, x2 = 0, y2 = 0, z2 = 0;
    PlotColour colour;
};
struct CanvasPolygon3D {
    std::vector<std::array<float, 3>> points;
    std::array<float, 3> normal{};  // unit face normal, computed when appended
    PlotColour colour;
};

template <typename Pixel, typename Line, typename Polygon>
struct Canvas {
    std::vector<Pixel> pixels;
    std::vector<Line> lines;
    std::vector<Polygon> polygons;

    void clear() {
        pixels.clear();
        lines.clear();
        polygons.clear();
    }
    bool empty() const { return pixels.empty() && lines.empty() && polygons.empty(); }
};
using Canvas2D = Canvas<CanvasPixel2D, CanvasLine2D, CanvasPolygon2D>;
using Canvas3D = Canvas<CanvasPixel3D, CanvasLine3D, CanvasPolygon3D>;

// The visible window of a 2D kind (orthographic bounds).
struct View2D {
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};
// The bounding box of a 3D kind.
struct Box3D {
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0, zMin = 0, zMax = 0;
};
struct RangePair {
    float low = 0, high = 0;
};

constexpr int kMaxGraphs = 64;     // graph expressions per plot
constexpr int kMaxPlotVariables = 3;

struct PlotRecord {
    int inUse = 0;
    int tabIndex = 0;  // position of the plot's tab; tab 0 is the Input page
    PlotKind kind = PlotKind::Plot;
    int exprCount = 0;  // graphs; 0 for canvases
    int hasCoords = 0;
    int coordSystem = 0;  // index into the coordinate-system table when hasCoords
    int varCount = 0;
    std::vector<SharedExpression> exprs;  // exprCount deep copies of the graph arguments
    std::array<std::string, kMaxPlotVariables> varNames;  // the first varCount are set
    View2D view2D;
    float range2D[2] = {0, 0};  // t0, t1 of `plot`
    Box3D box3D;
    // plot3d, implicitplot, vectorplot: pairs 0, 1; implicitplot3d,
    // vectorplot3d: all three; tubeplot, spacecurve: pair 1 only.
    std::array<RangePair, 3> ranges{};
    float rotX = 0, rotZ = 0;  // degrees; 305 and 45 for a new 3D plot
    // The mouse and the zoom commands change the view; Reset View brings
    // back the window from before the first change, and the 3D zoom to
    // the display setting (-1: this plot has no zoom of its own).
    View2D homeView2D;
    bool viewMoved = false;
    int zoom = -1;
    Canvas2D custom2D;
    Canvas3D custom3D;
};

}  // namespace vx
