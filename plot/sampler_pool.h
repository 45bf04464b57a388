#pragma once
// Sampling a plot's grid on every core. Each thread evaluates with an
// engine of its own: a copy of the definition stores whose function bodies,
// coordinate formulas and graph expressions are deep copies too (their
// items cache what they resolved, so no two threads may share them).
// Threads take chunks of consecutive points in order and write disjoint
// parts of the mesh buffers, so the mesh is the one a single thread makes.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "plot/generator.h"

namespace vx {

// The threads a grid is sampled on: VEXALO_THREADS when it is a positive
// number (1 forces the single-thread run), else every hardware thread.
int samplerThreadCount();

// Runs work(first, end) over [0, count) cut into contiguous ranges (a few
// per thread, none shorter than minimumRange) that this thread and the pool
// threads take in turn; returns when all are done. For work that evaluates
// nothing and whose result does not depend on how [0, count) is cut.
void forEachRange(size_t count, size_t minimumRange, const std::function<void(size_t first, size_t end)>& work);

// Whether the graphs (and the user functions and coordinate formula they
// reach) only compute: anything that defines, deletes, plots, draws or
// draws random numbers must see the one shared engine, in order.
bool samplesInParallel(const Stores& stores, const PlotRecord& record);

// One thread's evaluation state; mirrors the parts of Generator that a
// grid point uses, so that one point function serves both.
class Sampler {
public:
    Sampler(const Engine& source, const PlotRecord& record, GeneratorTexts texts);

    const PlotRecord& record;
    Engine engine;
    ErrorText message{512};
    Eval ev{engine, message};

    bool bindVariables(int count);
    void set(int k, double value) { scope_.complexAt(slots_[static_cast<size_t>(k)]) = Complex{value, 0.0}; }
    Tag evaluate(int graph, Value& out);
    int map2(Complex u, Complex v, Complex& x, Complex& y);
    int map3(Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z);
    Tag failDataType() { return ev.fail("%s", texts_.dataType); }
    // The user asked the run to stop: seen on the shared engine between
    // points, passed on to this one for long evaluations.
    bool stopRequested() const {
        return sourceAbort_.load(std::memory_order_relaxed) != 0 || ev.aborted();
    }

private:
    const std::atomic<int>& sourceAbort_;
    GeneratorTexts texts_;
    std::vector<SharedExpression> exprs_;
    LocalScope scope_{engine};
    std::array<int, kMaxPlotVariables> slots_{};
};

// Runs work(sampler, first, end) over the points [0, points) in chunks of
// whole progress steps on `threads` threads, posting progress and passing
// an abort request on to the threads while it waits. 1 when every chunk
// succeeded; 0 with the message of the first failing point in grid order,
// or the abort message, in gen's buffer.
using ChunkWork = std::function<int(Sampler& sampler, size_t first, size_t end)>;
int sampleOnThreads(Generator& gen, int threads, int variables, size_t points, size_t pointsPerStep,
                    const ChunkWork& work);

// Samples every point [0, points) with point(s, index), where s is the
// generator itself or a thread's Sampler. One progress step is counted per
// `pointsPerStep` points; an abort is looked for after each point. Grids
// of fewer than two chunks, or graphs that must not run in parallel, run
// on this thread exactly as a plain loop would.
template <typename Point>
int sampleGrid(Generator& gen, int variables, size_t points, size_t pointsPerStep, const Point& point) {
    constexpr size_t kChunkPoints = 512;
    int threads = samplerThreadCount();
    if (threads > 1 && points >= 2 * kChunkPoints && samplesInParallel(gen.ev.engine.stores, gen.record))
        return sampleOnThreads(gen, threads, variables, points, pointsPerStep,
                               [&point](Sampler& s, size_t first, size_t end) {
                                   for (size_t at = first; at < end && !s.stopRequested(); ++at)
                                       if (!point(s, at)) return 0;
                                   return 1;
                               });
    if (!gen.bindVariables(variables)) return 0;
    gen.startProgress(static_cast<double>(points / pointsPerStep));
    for (size_t at = 0; at < points; ++at) {
        if (at % pointsPerStep == 0) gen.countStep();
        if (!point(gen, at) || gen.aborted()) return 0;
    }
    gen.releaseVariables();
    return 1;
}

}  // namespace vx
