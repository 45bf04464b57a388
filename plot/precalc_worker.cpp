// The precalculation worker: computes one plot's geometry on its own thread
// while the window stays responsive, reporting through the plot host.
#include <new>
#include <string>

#include "plot/generator.h"

namespace vx {

namespace {

GeneratorTexts textsFor(PlotKind kind) {
    switch (kind) {
        case PlotKind::Plot: return {"Precalculating plot: %i%%", "(plot) Error: Data Type"};
        case PlotKind::Plot3d: return {"Precalculating plot3d: %i%%", "(plot3d) Error: Data Type"};
        case PlotKind::Tubeplot: return {"Precalculating tubeplot: %i%%", "(tubeplot) Error: Data Type"};
        case PlotKind::Spacecurve: return {"Precalculating spacecurve: %i%%", "(spacecurve) Error: Data Type"};
        case PlotKind::Implicitplot: return {"Precalculating implicitplot: %i%%", "Error: Data Type"};
        case PlotKind::Implicitplot3d:
            return {"Precalculating implicitplot3d: %i%%", "(implicitplot3d) Error: Data Type"};
        case PlotKind::Vectorplot: return {"Precalculating vectorplot: %i%%", "(vectorplot) Error: Data Type"};
        case PlotKind::Vectorplot3d:
            return {"Precalculating vectorplot3d: %i%%", "(vectorplot3d) Error: Data Type"};
        case PlotKind::Customplot:
        case PlotKind::Customplot3d: break;
    }
    return {"", "Error: Data Type"};
}

}  // namespace

int runGenerator(Engine& engine, PlotRegistry& registry, int slot, const QualitySettings& quality,
                 ErrorText& message) {
    PlotRecord* record = registry.record(slot);
    if (!record) {
        message.fail("Plot %i does not exist", slot);
        return 0;
    }
    if (isCanvasKind(record->kind)) return 1;  // drawn from its lists
    Generator gen(engine, registry, *record, quality, message, textsFor(record->kind));
    try {
        switch (record->kind) {
            case PlotKind::Plot: return generatePlot(gen);
            case PlotKind::Plot3d: return generatePlot3d(gen);
            case PlotKind::Tubeplot: return generateTubeplot(gen);
            case PlotKind::Implicitplot: return generateImplicitplot(gen);
            case PlotKind::Spacecurve: return generateSpacecurve(gen);
            case PlotKind::Implicitplot3d: return generateImplicitplot3d(gen);
            case PlotKind::Vectorplot: return generateVectorplot(gen);
            case PlotKind::Vectorplot3d: return generateVectorplot3d(gen);
            case PlotKind::Customplot:
            case PlotKind::Customplot3d: break;
        }
    } catch (const std::bad_alloc&) {
        // The working arrays of a large grid did not fit after all.
        message.fail("%s", Generator::kOutOfMemory);
        return 0;
    }
    message.fail("Error: Unexpected Error");
    return 0;
}

bool PlotRegistry::startPrecalculation(int slot) {
    if (!engine_) return false;  // not reached through plotRegistry()
    Engine& engine = *engine_;
    int idle = 0;
    if (!engine.working.compare_exchange_strong(idle, 1)) {
        host().appendOutput("Error: Already Working\r\n");
        return false;
    }
    engine.abortRequested.store(0);
    // The previous worker has cleared `working`, so it is at its very end.
    if (worker_.joinable()) worker_.join();
    meshReady.store(0);
    freeMeshBuffers();
    // The worker keeps its own copy: the Quality page may change the
    // settings while it runs (it aborts the run first).
    QualitySettings settings = quality;
    workerRunning_.store(true);
    worker_ = std::thread([this, &engine, slot, settings] {
        ErrorText message(512);
        int ok = runGenerator(engine, *this, slot, settings, message);
        if (ok) {
            shownPlot.store(slot);
            meshReady.store(1);
        } else {
            freeMeshBuffers();
            meshReady.store(0);
            host().appendOutput(message.text() + "\r\n");
            if (!engine.abortRequested.load()) host().setStatusText("Error while precalculating!");
        }
        engine.abortRequested.store(0);
        workerRunning_.store(false);
        engine.working.store(0);
        // After a failure too: the area must not keep the previous picture.
        host().repaintPlot();
    });
    return true;
}

void PlotRegistry::waitForWorker() {
    if (worker_.joinable()) worker_.join();
}

void PlotRegistry::stopWorker() {
    // Only a running worker is asked to stop: `working` may also belong to
    // the statement thread, whose evaluation must go on.
    bool requested = workerRunning_.load() && engine_;
    if (requested) engine_->abortRequested.store(1);
    waitForWorker();
    // The request may have come just after the worker's last look at it.
    if (requested) engine_->abortRequested.store(0);
}

}  // namespace vx
