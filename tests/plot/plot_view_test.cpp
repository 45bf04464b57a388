// Zoom and drag act on the shown plot's record, and only when allowed.
#include "plot/plot_view.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

struct Shown {
    Engine engine;
    PlotRegistry& registry = plotRegistry(engine);
    int slot = -1;
    explicit Shown(PlotKind kind) {
        PlotRecord r;
        r.kind = kind;
        r.view2D = View2D{-10, 10, -5, 5};
        r.rotX = 305;
        r.rotZ = 45;
        ErrorText message;
        slot = registry.createPlot(message, "plot", std::move(r));
        registry.shownPlot.store(slot);
        registry.meshReady.store(1);
    }
    PlotRecord& record() { return *registry.record(slot); }
};

TEST(PlotView, ZoomChangesTheWindowOf2DKindsAndTheOwnZoomOf3DKinds) {
    for (PlotKind kind : {PlotKind::Plot, PlotKind::Implicitplot, PlotKind::Customplot, PlotKind::Vectorplot}) {
        Shown s(kind);
        EXPECT_TRUE(zoomShownPlot(s.registry, ZoomDirection::In));
        EXPECT_FLOAT_EQ(s.record().view2D.xMax, 8);
        EXPECT_FLOAT_EQ(s.record().view2D.yMin, -4);
        EXPECT_EQ(s.record().zoom, -1);
        EXPECT_TRUE(resetShownView(s.registry));
        EXPECT_FLOAT_EQ(s.record().view2D.xMax, 10);
    }
    for (PlotKind kind : {PlotKind::Plot3d, PlotKind::Tubeplot, PlotKind::Spacecurve, PlotKind::Implicitplot3d,
                          PlotKind::Customplot3d, PlotKind::Vectorplot3d}) {
        Shown s(kind);
        EXPECT_TRUE(zoomShownPlot(s.registry, ZoomDirection::Out));
        EXPECT_EQ(s.record().zoom, 67);
        EXPECT_EQ(s.registry.display.zoom, 72);
        EXPECT_FLOAT_EQ(s.record().view2D.xMax, 10);
    }
}

TEST(PlotView, DragPansOrRotatesAndResetViewUndoesIt) {
    Shown flat(PlotKind::Plot);
    flat.registry.display.constrainProportions = 0;
    EXPECT_TRUE(dragShownPlot(flat.registry, 10, 0, 200, 100));
    EXPECT_FLOAT_EQ(flat.record().view2D.xMin, -11);
    EXPECT_TRUE(dragShownPlot(flat.registry, 0, -20, 200, 100));
    EXPECT_FLOAT_EQ(flat.record().view2D.yMin, -7);
    EXPECT_TRUE(resetShownView(flat.registry));
    EXPECT_FLOAT_EQ(flat.record().view2D.xMin, -10);
    EXPECT_FLOAT_EQ(flat.record().view2D.yMin, -5);

    Shown solid(PlotKind::Plot3d);
    EXPECT_TRUE(dragShownPlot(solid.registry, 3, -4, 200, 100));
    EXPECT_FLOAT_EQ(solid.record().rotX, 301);
    EXPECT_FLOAT_EQ(solid.record().rotZ, 48);
    zoomShownPlot(solid.registry, ZoomDirection::In);
    EXPECT_TRUE(resetShownView(solid.registry));
    EXPECT_FLOAT_EQ(solid.record().rotX, 305);
    EXPECT_FLOAT_EQ(solid.record().rotZ, 45);
    EXPECT_EQ(solid.record().zoom, -1);
}

TEST(PlotView, NothingChangesWithoutAShownPlotOrWhileWorking) {
    Shown s(PlotKind::Plot3d);
    s.registry.meshReady.store(0);
    EXPECT_FALSE(zoomShownPlot(s.registry, ZoomDirection::In));
    EXPECT_FALSE(dragShownPlot(s.registry, 5, 5, 100, 100));
    s.registry.meshReady.store(1);
    s.engine.working.store(1);
    EXPECT_FALSE(zoomShownPlot(s.registry, ZoomDirection::In));
    EXPECT_FALSE(dragShownPlot(s.registry, 5, 5, 100, 100));
    EXPECT_FALSE(resetShownView(s.registry));
    s.engine.working.store(0);
    EXPECT_EQ(s.record().zoom, -1);
    EXPECT_FLOAT_EQ(s.record().rotX, 305);
    s.registry.shownPlot.store(7);  // an empty slot
    EXPECT_FALSE(dragShownPlot(s.registry, 5, 5, 100, 100));
}

}  // namespace
}  // namespace vx
