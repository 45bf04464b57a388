#pragma once
// What the fuzz targets share: an engine with the whole language whose
// answers go nowhere, and a watchdog that stops a run the way the Stop
// button does and calls a run that ignores it a hang.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <thread>
#include <time.h>

#include "engine/engine.h"
#include "plot/obj_export.h"
#include "plot/plot_registry.h"

namespace vx::fuzz {

class DiscardSink : public OutputSink {
public:
    void appendOutput(std::string_view text) override { bytes += text.size(); }
    void setOutputColour(std::uint32_t) override {}
    size_t bytes = 0;
};

// One process-wide thread. While a run is armed it sets the engine's
// abortRequested after kAbortAfter; a run that then goes on for kHangAfter
// of processor time (a loop that ignores the request), or kBlockedAfter on
// the clock (threads waiting for each other), is a hang: the process aborts
// and the fuzzer reports the input. Processor time keeps a busy machine
// from passing for a hang.
class Watchdog {
public:
    static constexpr auto kAbortAfter = std::chrono::milliseconds(300);
    static constexpr auto kHangAfter = std::chrono::seconds(10);
    static constexpr auto kBlockedAfter = std::chrono::seconds(60);

    static Watchdog& instance() {
        // Never destroyed: the thread runs until the process ends.
        static Watchdog* dog = new Watchdog;
        return *dog;
    }

    void arm(Engine& engine) {
        std::lock_guard lock(mutex_);
        engine_ = &engine;
        start_ = std::chrono::steady_clock::now();
        requested_ = false;
    }
    void disarm() {
        std::lock_guard lock(mutex_);
        engine_ = nullptr;
    }

private:
    using Clock = std::chrono::steady_clock;

    Watchdog() { std::thread([this] { watch(); }).detach(); }

    static std::chrono::nanoseconds processorTime() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }

    void watch() {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::lock_guard lock(mutex_);
            if (!engine_) continue;
            auto now = Clock::now();
            if (now - start_ < kAbortAfter) continue;
            engine_->abortRequested.store(1);
            if (!requested_) {
                requested_ = true;
                requestedAt_ = now;
                processorAtRequest_ = processorTime();
            }
            if (processorTime() - processorAtRequest_ > kHangAfter || now - requestedAt_ > kBlockedAfter) {
                std::fputs("fuzz watchdog: the run goes on long after the abort request\n", stderr);
                std::abort();
            }
        }
    }

    std::mutex mutex_;
    Engine* engine_ = nullptr;
    Clock::time_point start_, requestedAt_;
    std::chrono::nanoseconds processorAtRequest_{};
    bool requested_ = false;
};

// Arms the watchdog for a scope.
class WatchedRun {
public:
    explicit WatchedRun(Engine& engine) { Watchdog::instance().arm(engine); }
    ~WatchedRun() { Watchdog::instance().disarm(); }
    WatchedRun(const WatchedRun&) = delete;
    WatchedRun& operator=(const WatchedRun&) = delete;
};

// The wanted settings with every grid kept small enough that a
// precalculation takes milliseconds (sizes below 2 and the stream switch
// stay as wanted).
inline void useSmallGrids(PlotRegistry& plots, const QualitySettings& wanted) {
    QualitySettings q = wanted;
    auto cap = [](std::int32_t& value, std::int32_t most) { value = std::min(value, most); };
    cap(q.implicitGrid, 12);
    cap(q.plotSamples, 40);
    cap(q.plot3dSamplesU, 10);
    cap(q.plot3dSamplesV, 10);
    cap(q.tubeSides, 6);
    cap(q.tubeSamples, 30);
    cap(q.spacecurveSamples, 30);
    cap(q.implicit3dGrid, 8);
    cap(q.vector2dGrid, 6);
    cap(q.vector3dGrid, 4);
    cap(q.vector2dStream, 8);
    cap(q.vector3dStream, 5);
    plots.quality = q;
}

// Precalculates every plot, each under the watchdog, and writes the
// surfaces as OBJ to nowhere. A refused start (the engine left busy) is a
// fault.
inline void precalculateEveryPlot(Engine& engine) {
    PlotRegistry& plots = plotRegistry(engine);
    for (int slot = 0; slot < kPlotSlots; ++slot) {
        const PlotRecord* record = plots.record(slot);
        if (!record) continue;
        WatchedRun watched(engine);
        if (!plots.startPrecalculation(slot)) {
            std::fputs("fuzz: precalculation refused, the engine is still working\n", stderr);
            std::abort();
        }
        plots.waitForWorker();
        if (plots.meshReady.load() && isMeshKind(record->kind)) exportPlotObj(plots, slot, "/dev/null");
    }
}

}  // namespace vx::fuzz
