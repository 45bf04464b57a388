// The interpreter's inner loop as users feel it in sums and loops. Run
// bench/compare_python.sh to see the same loops in CPython beside these.
#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

namespace {

void runLoop(benchmark::State& state, const char* setup, const char* statement, int passes) {
    vx::bench::Fixture f;
    if (*setup) f.run(setup);
    vx::Expression e = vx::parseInternal(statement);
    for (auto _ : state) benchmark::DoNotOptimize(f.evaluate(e));
    state.counters["passes_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * passes, benchmark::Counter::kIsRate);
}

void BM_SumOfSquares1M(benchmark::State& state) { runLoop(state, "", "sum(k^2,k,1,1000000)", 1000000); }
BENCHMARK(BM_SumOfSquares1M)->Unit(benchmark::kMillisecond);

void BM_SumSinCos200k(benchmark::State& state) {
    runLoop(state, "", "sum(sin(k/1000)*cos(k/1000),k,1,200000)", 200000);
}
BENCHMARK(BM_SumSinCos200k)->Unit(benchmark::kMillisecond);

void BM_UserFunctionInLoop200k(benchmark::State& state) {
    runLoop(state, "newfunc(f,x,x^2+1)", "sum(f(k),k,1,200000)", 200000);
}
BENCHMARK(BM_UserFunctionInLoop200k)->Unit(benchmark::kMillisecond);

// Division, exp and ln, whose kernels guard their ordinary range.
void BM_SumOfReciprocals1M(benchmark::State& state) { runLoop(state, "", "sum(1/k,k,1,1000000)", 1000000); }
BENCHMARK(BM_SumOfReciprocals1M)->Unit(benchmark::kMillisecond);

void BM_SumExpOverLn200k(benchmark::State& state) {
    runLoop(state, "", "sum(exp(k/200000)/ln(k+1),k,1,200000)", 200000);
}
BENCHMARK(BM_SumExpOverLn200k)->Unit(benchmark::kMillisecond);

// Short inner loops: what a loop pays to start matters as much as its passes.
void BM_NestedShortSum(benchmark::State& state) {
    runLoop(state, "", "sum(sum(k*j,j,1,3),k,1,100000)", 400000);
}
BENCHMARK(BM_NestedShortSum)->Unit(benchmark::kMillisecond);

// Loops that update variables with new(): each pass redefines numbers.
void BM_WhileUpdate100k(benchmark::State& state) {
    runLoop(state, "new(s,0)", "while(new(n,0);,n<10^5,seq(new(s,s+n);,new(n,n+1));)", 100000);
}
BENCHMARK(BM_WhileUpdate100k)->Unit(benchmark::kMillisecond);

void BM_ForUpdate100k(benchmark::State& state) { runLoop(state, "new(s,0)", "for(k,1,100000,new(s,s+k);)", 100000); }
BENCHMARK(BM_ForUpdate100k)->Unit(benchmark::kMillisecond);

// A pass is one call of the user function: fib(20) makes 21891 calls.
void BM_UserRecursionFib20(benchmark::State& state) {
    runLoop(state, "newfunc(fib,n,if(n<2,n,fib(n-1)+fib(n-2)))", "fib(20)", 21891);
}
BENCHMARK(BM_UserRecursionFib20)->Unit(benchmark::kMillisecond);

}  // namespace
