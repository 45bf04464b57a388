#include "plot/plot_view.h"

#include "plot/view_math.h"

namespace vx {

namespace {

// The shown record when it may be changed: the mesh is ready and no worker
// (which writes the record's bounds) runs.
PlotRecord* changeableShownRecord(PlotRegistry& registry) {
    if (!registry.meshReady.load()) return nullptr;
    if (registry.engine() && registry.engine()->working.load()) return nullptr;
    return registry.record(registry.shownPlot.load());
}

}  // namespace

bool zoomShownPlot(PlotRegistry& registry, ZoomDirection direction) {
    PlotRecord* record = changeableShownRecord(registry);
    if (!record) return false;
    bool in = direction == ZoomDirection::In;
    if (isPlot2D(record->kind))
        scaleView2D(record->view2D, in ? kZoomInFactor : kZoomOutFactor);
    else
        registry.display.zoom = steppedZoom(registry.display.zoom, in ? kZoomInStep : kZoomOutStep);
    return true;
}

bool dragShownPlot(PlotRegistry& registry, int dx, int dy) {
    PlotRecord* record = changeableShownRecord(registry);
    if (!record) return false;
    if (isPlot2D(record->kind))
        panView2D(record->view2D, dx, dy);
    else
        rotateView3D(record->rotX, record->rotZ, dx, dy);
    return true;
}

}  // namespace vx
