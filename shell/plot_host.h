#pragma once
// What the window's tab handling needs from the plot registry and its
// precalculation worker. The registry keeps each plot's tab position; the
// shell keeps the tab strip.
namespace vx {

// The visible window of a 2D plot.
struct View2D {
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// Kinds 0, 3, 6 and 8 are drawn in 2D; 1, 2 and 5 are meshes that can be
// exported.
inline bool isPlotKind2D(int kind) { return kind == 0 || kind == 3 || kind == 6 || kind == 8; }
inline bool isMeshKind(int kind) { return kind == 1 || kind == 2 || kind == 5; }

class PlotHost {
public:
    virtual ~PlotHost() = default;
    // The in-use slot whose tab is at this position, or -1.
    virtual int slotAtTab(int tab) const = 0;
    // The kind of an in-use slot, or -1.
    virtual int kindOfSlot(int slot) const = 0;
    // Deletes the plot whose tab is at this position (the registry removes
    // the tab through the window); nothing when none is there.
    virtual void deletePlotByTab(int tab) = 0;
    // Starts the worker on a slot ("Error: Already Working" while busy).
    virtual void startPrecalculation(int slot) = 0;
    // The slot whose geometry was computed last, and whether it is ready.
    virtual int shownPlot() const = 0;
    virtual bool meshReady() const = 0;
    virtual void setMeshReady(bool ready) = 0;
    // The 2D window of an in-use slot, or nullptr.
    virtual View2D* view2D(int slot) = 0;
};

// No plot engine: no plot tabs exist.
class NoPlots : public PlotHost {
public:
    int slotAtTab(int) const override { return -1; }
    int kindOfSlot(int) const override { return -1; }
    void deletePlotByTab(int) override {}
    void startPrecalculation(int) override {}
    int shownPlot() const override { return 0; }
    bool meshReady() const override { return false; }
    void setMeshReady(bool) override {}
    View2D* view2D(int) override { return nullptr; }
};

}  // namespace vx
