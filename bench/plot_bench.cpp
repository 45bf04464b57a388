// Plot precalculation: the generators at several grid sizes, and how fast
// a running worker stops when asked.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "bench/bench_util.h"
#include "plot/plot_registry.h"

namespace {

struct PlotFixture : vx::bench::Fixture {
    vx::PlotRegistry& plots = vx::plotRegistry(engine);

    // Creates the plot in slot 0 (replacing the last one).
    void create(const std::string& statement) {
        plots.deletePlot(0);
        run(statement);
    }
    void precalculate() {
        plots.startPrecalculation(0);
        plots.waitForWorker();
    }
};

// Reports the time per evaluated grid point as "per_point".
void perPoint(benchmark::State& state, double points) {
    state.counters["points"] = points;
    state.counters["per_point"] =
        benchmark::Counter(points * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Implicitplot3dSphere(benchmark::State& state) {
    PlotFixture f;
    const int G = static_cast<int>(state.range(0));
    f.plots.quality.implicit3dGrid = G;
    f.create("implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)");
    for (auto _ : state) f.precalculate();
    if (!f.plots.meshReady) state.SkipWithError("precalculation failed");
    state.counters["polys"] = static_cast<double>(f.plots.mesh.aux.polygons.size());
    perPoint(state, static_cast<double>(G) * G * G);
}
BENCHMARK(BM_Implicitplot3dSphere)->Arg(24)->Arg(48)->Arg(96)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Plot3d(benchmark::State& state) {
    PlotFixture f;
    const int n = static_cast<int>(state.range(0));
    f.plots.quality.plot3dSamplesU = n;
    f.plots.quality.plot3dSamplesV = n;
    f.create("plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)");
    for (auto _ : state) f.precalculate();
    if (!f.plots.meshReady) state.SkipWithError("precalculation failed");
    perPoint(state, static_cast<double>(n) * n);
}
BENCHMARK(BM_Plot3d)->Arg(38)->Arg(400)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_VectorplotStreams(benchmark::State& state) {
    PlotFixture f;
    const int G = static_cast<int>(state.range(0));
    f.plots.quality.vector2dGrid = G;
    f.plots.quality.vectorStreams = 1;
    f.create("vectorplot([-y, x], x, -1, 1, y, -1, 1)");
    for (auto _ : state) f.precalculate();
    if (!f.plots.meshReady) state.SkipWithError("precalculation failed");
    perPoint(state, static_cast<double>(G) * G * (f.plots.quality.vector2dStream - 1));
}
BENCHMARK(BM_VectorplotStreams)->Arg(40)->UseRealTime()->Unit(benchmark::kMillisecond);

// From the abort request to the worker's end (working cleared), for the
// large runs above started and stopped while they sample.
void BM_AbortLatency(benchmark::State& state) {
    PlotFixture f;
    const char* statements[] = {
        "implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)",
        "plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)",
        "vectorplot([-y, x], x, -1, 1, y, -1, 1)",
    };
    f.plots.quality.implicit3dGrid = 96;
    f.plots.quality.plot3dSamplesU = f.plots.quality.plot3dSamplesV = 400;
    f.plots.quality.vector2dGrid = 40;
    f.plots.quality.vectorStreams = 1;
    f.create(statements[state.range(0)]);
    for (auto _ : state) {
        f.plots.headlessHost().clearLog();
        f.plots.startPrecalculation(0);
        while (f.plots.headlessHost().statusHistory().empty()) std::this_thread::yield();
        auto requested = std::chrono::steady_clock::now();
        f.engine.abortRequested = 1;
        while (f.engine.working.load()) std::this_thread::yield();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - requested).count());
        f.plots.waitForWorker();
    }
}
BENCHMARK(BM_AbortLatency)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
