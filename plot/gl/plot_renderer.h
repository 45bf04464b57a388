#pragma once
// Draws the shown plot with the fixed-function OpenGL pipeline. This is the
// only code that calls OpenGL; whoever owns the context (the plot area
// widget, the offscreen image renderer) makes it current and calls in.
#include "plot/gl/render_internal.h"

namespace vx {

class PlotRegistry;

class PlotRenderer {
public:
    // The plot area's size before the first layout.
    static constexpr int kInitialWidth = 240;
    static constexpr int kInitialHeight = 248;

    // The state a new context starts with: smooth shading, white clear
    // colour, depth test with less-or-equal, nicest perspective correction.
    void initialize();
    // The viewport for a plot area of this many pixels (a height of 0 counts as 1).
    void resize(int width, int height);

    // Draws the slot's plot from the registry's mesh buffers with its
    // display settings. Returns false, drawing nothing, while a worker runs.
    bool renderPlot(PlotRegistry& registry, int slot);
    // One paint of the plot area: the shown plot when its mesh is ready,
    // else a white area. False when nothing was drawn (a worker runs).
    bool paint(PlotRegistry& registry);
    // Whether paint() would draw now (it refuses while a worker runs and a
    // mesh is shown), and the record it draws (nullptr for the white area).
    static bool canPaint(const PlotRegistry& registry);
    static const PlotRecord* shownRecord(PlotRegistry& registry);
    static void clearWhite();

    int width() const { return width_; }
    int height() const { return height_; }

private:
    void setUpCamera3D(const PlotRecord& record, const DisplaySettings& display);
    View2D shownView(const PlotRecord& record, const DisplaySettings& display) const;
    static void setUpCamera2D(const View2D& view);

    int width_ = kInitialWidth, height_ = kInitialHeight;
    gl::Scratch scratch_;
};

}  // namespace vx
