#pragma once
// The 32 plot slots, the shared mesh buffers, the settings that steer
// plots and the precalculation worker.
//
// How the desktop shell hooks in:
//   PlotRegistry& plots = vx::plotRegistry(engine);  // the engine's registry
//   plots.setHost(&myWidgetHost);  // before the first plot command; the host
//                                  // must outlive the registry or be reset
//                                  // with setHost(nullptr)
//   tab change to a plot tab k:  slot = plots.slotForTab(k); unless
//       plots.shownPlot == slot && plots.meshReady, plots.startPrecalculation(slot)
//   tab change to tab 0:         plots.meshReady = 0
//   tab change while working:    engine.abortRequested = 1 (the worker ends
//                                with "Precalculation aborted!")
//   paint:  when engine.working == 0 && plots.meshReady, draw
//           plots.slots[plots.shownPlot] from plots.mesh (layout: mesh_buffers.h)
//   close tab k:                 plots.deletePlotByTab(k) (stops a running worker)
//   export:                      exportPlotObj(plots, plots.shownPlot, path)
//   Quality / Display pages:     edit plots.quality / plots.display; a run
//                                keeps the copy it started with
// Without setHost the registry uses its own HeadlessPlotHost. The worker
// reaches the window only through PlotHost (see plot_host.h for threads).
#include <array>
#include <atomic>
#include <memory>
#include <string_view>
#include <thread>

#include "engine/engine.h"
#include "engine/error_text.h"
#include "plot/mesh_buffers.h"
#include "plot/plot_host.h"
#include "plot/plot_record.h"
#include "plot/settings.h"

namespace vx {

constexpr int kPlotSlots = 32;

class PlotRegistry {
public:
    PlotRegistry();
    // Stops and joins a running worker, deletes every plot, frees the mesh.
    ~PlotRegistry();
    PlotRegistry(const PlotRegistry&) = delete;
    PlotRegistry& operator=(const PlotRegistry&) = delete;

    // The engine whose stores the worker evaluates in (plotRegistry() sets it).
    void bind(Engine& engine) { engine_ = &engine; }
    Engine* engine() const { return engine_; }

    void setHost(PlotHost* host) { host_ = host ? host : &headless_; }
    PlotHost& host() const { return *host_; }
    HeadlessPlotHost& headlessHost() { return headless_; }

    // Stores the record in the first free slot, opens its tab "Plot %i" at
    // the end of the strip and writes "(cmd) Created Plot %i". Returns the
    // slot, or -1 with "(cmd) Too Many Plots" when all slots are taken.
    int createPlot(ErrorText& message, std::string_view command, PlotRecord record);
    // Releases the slot and its tab and moves later tabs down; false when the
    // slot is out of range or not in use. A running worker is stopped first
    // (it reads the records).
    bool deletePlot(int slot);
    void deletePlotByTab(int tabIndex);
    void freeMeshBuffers() { mesh.release(); }

    // The in-use record of the slot, or nullptr.
    PlotRecord* record(int slot);
    // The in-use slot whose tab is at this position, or -1.
    int slotForTab(int tabIndex) const;

    // Precalculation (plot/precalc_worker.cpp). startPrecalculation refuses
    // with "Error: Already Working" on the output while `working` is set;
    // otherwise it sets `working`, clears `abortRequested`, frees the mesh and
    // computes the slot on a worker thread. Returns whether it started.
    bool startPrecalculation(int slot);
    // Blocks until the worker thread (if any) has ended.
    void waitForWorker();
    // True from the start of a precalculation until its worker has finished.
    bool workerRunning() const { return workerRunning_.load(); }

    std::array<PlotRecord, kPlotSlots> slots{};
    MeshBuffers mesh;
    // The slot whose geometry is in `mesh`, and whether that geometry is a
    // finished precalculation. Written by the worker, read by the window.
    std::atomic<int> shownPlot{0};
    std::atomic<int> meshReady{0};

    QualitySettings quality;
    DisplaySettings display;

private:
    void stopWorker();

    Engine* engine_ = nullptr;
    std::atomic<bool> workerRunning_{false};
    HeadlessPlotHost headless_;
    PlotHost* host_ = &headless_;
    std::thread worker_;
};

// The engine's plot registry, created on first use.
PlotRegistry& plotRegistry(Engine& engine);

}  // namespace vx
