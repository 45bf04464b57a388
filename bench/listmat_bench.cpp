// List workloads: set operations on long lists, sorting and generating.
#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

namespace {

// Times one statement; a statement that fails would time only its message.
void timeStatement(benchmark::State& state, vx::bench::Fixture& f, const char* statement) {
    vx::Expression e = vx::parseInternal(statement);
    if (f.evaluate(e) == vx::kNone) {
        state.SkipWithError(f.error.text().c_str());
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(f.evaluate(e));
}

// Two overlapping 100 000-element lists with repeats: multiples of 2 and of 3.
void defineSetOperands(vx::bench::Fixture& f) {
    f.run("new(seta,listgen(2*floor(k/2),k,1,100000))\nnew(setb,listgen(3*k,k,1,100000))");
}

void BM_Union100k(benchmark::State& state) {
    vx::bench::Fixture f;
    defineSetOperands(f);
    timeStatement(state, f, "union(seta,setb)");
}
BENCHMARK(BM_Union100k)->Unit(benchmark::kMillisecond);

void BM_Intersection100k(benchmark::State& state) {
    vx::bench::Fixture f;
    defineSetOperands(f);
    timeStatement(state, f, "intersection(seta,setb)");
}
BENCHMARK(BM_Intersection100k)->Unit(benchmark::kMillisecond);

void BM_Order1M(benchmark::State& state) {
    vx::bench::Fixture f;
    f.run("new(unsorted,listgen(sin(k)*1000+cos(3*k)*i,k,1,1000000))");
    timeStatement(state, f, "order(unsorted)");
}
BENCHMARK(BM_Order1M)->Unit(benchmark::kMillisecond);

void BM_ListgenSquares1M(benchmark::State& state) {
    vx::bench::Fixture f;
    timeStatement(state, f, "listgen(k^2,k,1,1000000)");
}
BENCHMARK(BM_ListgenSquares1M)->Unit(benchmark::kMillisecond);

}  // namespace
