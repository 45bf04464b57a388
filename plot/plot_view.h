#pragma once
// View changes of a plot made by the mouse and the view commands. The view
// lives in the plot's record, so it survives tab switches.
#include "plot/plot_registry.h"
#include "plot/view_math.h"

namespace vx {

// Zoom In / Zoom Out: a 2D plot's window shrinks or grows about its centre;
// a 3D plot's own zoom steps by 5 within 0..100.
void zoomPlot(PlotRecord& record, const DisplaySettings& display, ZoomDirection direction);
// A left-button drag of (dx, dy) pixels over a plot area of width x height:
// a 2D plot follows the pointer, a 3D plot turns.
void dragPlot(PlotRecord& record, const DisplaySettings& display, int dx, int dy, int width, int height);
// Reset View: the 2D window from before the first change; a 3D plot's
// first rotation and the display zoom.
void resetPlotView(PlotRecord& record);

// The same on the shown plot. False (nothing changes) when no plot is
// shown or a worker runs.
bool zoomShownPlot(PlotRegistry& registry, ZoomDirection direction);
bool dragShownPlot(PlotRegistry& registry, int dx, int dy, int width, int height);
bool resetShownView(PlotRegistry& registry);

}  // namespace vx
