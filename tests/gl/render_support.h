#pragma once
// Rendering test support: a registry holding one shown plot, meshes laid
// out as the generators lay them out, and pixel helpers.
#include <gtest/gtest.h>

#include <QImage>
#include <QOpenGLWidget>
#include <array>
#include <cmath>
#include <functional>

#include "plot/gl/offscreen_render.h"
#include "plot/plot_registry.h"
#include "plot/view_math.h"

namespace vx::test {

// One renderer for the whole test program (a context per image is slow);
// released before the application object goes.
OffscreenPlotRenderer& offscreen();
void releaseOffscreen();

// A registry whose shown plot is `record`, ready to draw.
struct Scene {
    Engine engine;
    PlotRegistry& registry = plotRegistry(engine);
    int slot = -1;

    explicit Scene(PlotRecord record);
    PlotRecord& record() { return *registry.record(slot); }
    DisplaySettings& display() { return registry.display; }
    MeshBuffers& mesh() { return registry.mesh; }
    // The OpenGL picture alone; numbers() adds the axis numbers.
    QImage render(int width = 200, int height = 200) {
        return offscreen().render(registry, QSize(width, height), false);
    }
    QImage numbers(int width = 200, int height = 200) { return offscreen().render(registry, QSize(width, height)); }
};

PlotRecord record2D(PlotKind kind, int graphs, View2D view);
PlotRecord record3D(PlotKind kind, int graphs, Box3D box, float rotX = 305, float rotZ = 45);

// The graph palette's first entries (red, blue, green, black, ...).
std::vector<PlotColour> graphPalette();
// The vector palette: black, red, blue, ...
std::vector<PlotColour> vectorPalette();

// plot: S samples of y = f(x) over [x0, x1], all valid; view from the bounds.
void fillCurve(Scene& s, int S, float x0, float x1, const std::function<float(float)>& f);
// plot3d-style quad grid: U x W points (u over [0,1], w over [0,1]) mapped
// by `point`, with the generator's normals and box colours; box3D set to the bounds.
using SurfacePoint = std::function<std::array<float, 3>(float u, float w)>;
void fillSurface(Scene& s, int U, int W, const SurfacePoint& point);
// Every vertex of the mesh gets this colour.
void paintMesh(Scene& s, PlotColour colour);

// Pixel helpers (image rows run top to bottom).
struct Rgb {
    int r, g, b;
};
Rgb pixel(const QImage& image, int x, int y);
bool isWhite(Rgb c, int tolerance = 3);
bool near(Rgb c, Rgb expected, int tolerance);
// Pixel of a 2D point in a window drawn over the whole image (grown to
// equal scale, as Constrain Proportions draws it, unless told otherwise).
QPoint toPixel(const QImage& image, const View2D& view, float x, float y, bool equalScale = true);
// Non-white pixels, and the bounding box of them.
int inkCount(const QImage& image);
QRect inkBounds(const QImage& image);
// Whether some pixel within `radius` of (x, y) satisfies the test.
bool anyNear(const QImage& image, QPoint at, int radius, const std::function<bool(Rgb)>& test);
// Saves the image under VX_SCREENSHOT_DIR when that variable is set (for looking at it).
void keepScreenshot(const QImage& image, const char* name);

}  // namespace vx::test

namespace vx::test {

// What a plot area widget holds on screen now, read from its framebuffer
// without painting it again (grabFramebuffer would paint first).
QImage framebufferAsShown(QOpenGLWidget* widget);

}  // namespace vx::test
