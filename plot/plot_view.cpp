#include "plot/plot_view.h"

namespace vx {

namespace {

// The shown record when it may be changed: the mesh is ready and no worker
// (which writes the record's bounds) runs.
PlotRecord* changeableShownRecord(PlotRegistry& registry) {
    if (!registry.meshReady.load()) return nullptr;
    if (registry.engine() && registry.engine()->working.load()) return nullptr;
    return registry.record(registry.shownPlot.load());
}

void rememberHome(PlotRecord& record) {
    if (record.viewMoved) return;
    record.homeView2D = record.view2D;
    record.viewMoved = true;
}

}  // namespace

void zoomPlot(PlotRecord& record, const DisplaySettings& display, ZoomDirection direction) {
    bool in = direction == ZoomDirection::In;
    if (isPlot2D(record.kind)) {
        rememberHome(record);
        scaleView2D(record.view2D, in ? kZoomInFactor : kZoomOutFactor);
    } else {
        record.zoom = steppedZoom(effectiveZoom(record, display), in ? kZoomInStep : kZoomOutStep);
    }
}

void dragPlot(PlotRecord& record, const DisplaySettings& display, int dx, int dy, int width, int height) {
    if (!isPlot2D(record.kind)) {
        rotateView3D(record.rotX, record.rotZ, dx, dy);
        return;
    }
    rememberHome(record);
    View2D shown = shownView2D(record.view2D, width, height, display.constrainProportions != 0);
    panView2D(record.view2D, shown, dx, dy, width, height);
}

void resetPlotView(PlotRecord& record) {
    if (isPlot2D(record.kind)) {
        if (record.viewMoved) record.view2D = record.homeView2D;
        record.viewMoved = false;
        return;
    }
    record.rotX = kHomeRotX;
    record.rotZ = kHomeRotZ;
    record.zoom = -1;
}

bool zoomShownPlot(PlotRegistry& registry, ZoomDirection direction) {
    PlotRecord* record = changeableShownRecord(registry);
    if (record) zoomPlot(*record, registry.display, direction);
    return record != nullptr;
}

bool dragShownPlot(PlotRegistry& registry, int dx, int dy, int width, int height) {
    PlotRecord* record = changeableShownRecord(registry);
    if (record) dragPlot(*record, registry.display, dx, dy, width, height);
    return record != nullptr;
}

bool resetShownView(PlotRegistry& registry) {
    PlotRecord* record = changeableShownRecord(registry);
    if (record) resetPlotView(*record);
    return record != nullptr;
}

}  // namespace vx
