#pragma once
// What the window's tab handling needs from the plot registry and its
// precalculation worker: which plot a tab shows, its kind and 2D view, and
// the shown-plot index with its mesh-ready flag. Kinds are the registry's
// numbers; -1 means "no plot".
#include "plot/plot_record.h"

namespace vx {

class PlotRegistry;

class PlotTabs {
public:
    virtual ~PlotTabs() = default;
    // The in-use slot whose tab is at this position, or -1.
    virtual int slotAtTab(int tab) const = 0;
    // The kind of an in-use slot, or -1.
    virtual int kindOfSlot(int slot) const = 0;
    // Deletes the plot whose tab is at this position; the registry removes
    // the tab. Nothing when no plot is there.
    virtual void deletePlotByTab(int tab) = 0;
    // Starts the worker on a slot ("Error: Already Working" while busy).
    virtual void startPrecalculation(int slot) = 0;
    // The slot whose geometry was computed last, and whether it is ready.
    virtual int shownPlot() const = 0;
    virtual bool meshReady() const = 0;
    virtual void setMeshReady(bool ready) = 0;
    // The record of an in-use slot (its view), or nullptr.
    virtual PlotRecord* record(int slot) = 0;
};

inline bool isTwoDimensionalKind(int kind) { return kind >= 0 && isPlot2D(static_cast<PlotKind>(kind)); }
inline bool isExportableKind(int kind) { return kind >= 0 && isMeshKind(static_cast<PlotKind>(kind)); }

// The plot registry seen through PlotTabs.
class RegistryPlotTabs : public PlotTabs {
public:
    explicit RegistryPlotTabs(PlotRegistry& registry) : registry_(registry) {}
    int slotAtTab(int tab) const override;
    int kindOfSlot(int slot) const override;
    void deletePlotByTab(int tab) override;
    void startPrecalculation(int slot) override;
    int shownPlot() const override;
    bool meshReady() const override;
    void setMeshReady(bool ready) override;
    PlotRecord* record(int slot) override;

private:
    PlotRegistry& registry_;
};

}  // namespace vx
