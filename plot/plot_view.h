#pragma once
// View changes of the shown plot made by the mouse and the zoom commands.
// The view lives in the plot's record, so it survives tab switches.
#include "plot/plot_registry.h"
#include "plot/view_math.h"

namespace vx {

// Zoom In / Zoom Out: a 2D plot's window shrinks or grows about its centre;
// a 3D plot steps the zoom setting. False (nothing changes) when no plot is
// shown or a worker runs.
bool zoomShownPlot(PlotRegistry& registry, ZoomDirection direction);

// A left-button drag of (dx, dy) pixels: pans a 2D plot, turns a 3D one.
// False when no plot is shown or a worker runs.
bool dragShownPlot(PlotRegistry& registry, int dx, int dy);

}  // namespace vx
