// Plot precalculation: the generators at several grid sizes, and how fast
// a running worker stops when asked.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/bench_util.h"
#include "plot/obj_export.h"
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

// OBJ writing of a plot3d mesh of 800 x 800 to /dev/null, so that only the
// formatting is timed: on VEXALO_THREADS=1 (argument 1) or every thread
// (argument 0), and the way it was written before, one fprintf per
// record, as the baseline of the same run.
struct ObjFixture : PlotFixture {
    ObjFixture() {
        plots.quality.plot3dSamplesU = plots.quality.plot3dSamplesV = 800;
        create("plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)");
        precalculate();
    }
};

void BM_WriteObjPlot3d800(benchmark::State& state) {
    ObjFixture f;
    if (state.range(0) == 1) ::setenv("VEXALO_THREADS", "1", 1);
    for (auto _ : state)
        if (!vx::writeGridObj(f.plots, *f.plots.record(0), "/dev/null")) state.SkipWithError("write failed");
    ::unsetenv("VEXALO_THREADS");
    perPoint(state, 800.0 * 800.0);
}
BENCHMARK(BM_WriteObjPlot3d800)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_WriteObjPlot3d800Printf(benchmark::State& state) {
    ObjFixture f;
    const vx::MeshBuffers& mesh = f.plots.mesh;
    const int U = mesh.gridU, W = mesh.gridW;
    for (auto _ : state) {
        std::FILE* out = std::fopen("/dev/null", "wb");
        std::fprintf(out, "# Generated by Vexalo\r\n# OBJ File Output\r\n# Verts: %i, Faces: %i\r\n# \r\n# Vertices",
                     U * W, (U - 1) * (W - 1));
        for (size_t k = 0; k < static_cast<size_t>(U * W); ++k)
            std::fprintf(out, "\r\nv %f %f %f", double(mesh.vertices[k * 3]), double(mesh.vertices[k * 3 + 1]),
                         double(mesh.vertices[k * 3 + 2]));
        std::fprintf(out, "\r\n# Normals");
        for (size_t k = 0; k < static_cast<size_t>(U * W); ++k)
            std::fprintf(out, "\r\nvn %f %f %f", double(mesh.normals[k * 3]), double(mesh.normals[k * 3 + 1]),
                         double(mesh.normals[k * 3 + 2]));
        std::fprintf(out, "\r\n# Faces");
        for (int j = 0; j + 1 < W; ++j)
            for (int k = 0; k + 1 < U; ++k)
                std::fprintf(out, "\r\nf %i %i %i %i", j * U + k + 1, j * U + k + 2, (j + 1) * U + k + 2,
                             (j + 1) * U + k + 1);
        std::fclose(out);
    }
    perPoint(state, 800.0 * 800.0);
}
BENCHMARK(BM_WriteObjPlot3d800Printf)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
