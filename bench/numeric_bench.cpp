// Number theory, quadrature and root finding through the evaluator.
#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

namespace {

void evaluateStatement(benchmark::State& state, const char* statement) {
    vx::bench::Fixture f;
    vx::Expression e = vx::parseInternal(statement);
    for (auto _ : state) {
        vx::Tag tag = f.evaluate(e);
        if (tag == vx::kNone) state.SkipWithError(f.error.text().c_str());
        benchmark::DoNotOptimize(tag);
    }
}

void BM_PowerModLargeExponent(benchmark::State& state) { evaluateStatement(state, "powermod(3,10^15,10^9+7)"); }
BENCHMARK(BM_PowerModLargeExponent);

void BM_Factor2To52Minus1(benchmark::State& state) { evaluateStatement(state, "factor(2^52-1)"); }
BENCHMARK(BM_Factor2To52Minus1)->Unit(benchmark::kMicrosecond);

void BM_FactorLargestDoublePrime(benchmark::State& state) { evaluateStatement(state, "factor(9007199254740881)"); }
BENCHMARK(BM_FactorLargestDoublePrime)->Unit(benchmark::kMillisecond);

void BM_IntegralGaussian(benchmark::State& state) { evaluateStatement(state, "int(exp(-x^2),x,-3,3)"); }
BENCHMARK(BM_IntegralGaussian)->Unit(benchmark::kMicrosecond);

void BM_PolyRootsDegree20(benchmark::State& state) {
    evaluateStatement(state, "polyroots({1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21})");
}
BENCHMARK(BM_PolyRootsDegree20)->Unit(benchmark::kMicrosecond);

void BM_PolyRootsDegree20RealRoots(benchmark::State& state) {
    // (x-1)(x-2)...(x-20) expanded: coefficients up to 1.4e19.
    evaluateStatement(state,
                      "polyroots(polymul({1,-1},{1,-2},{1,-3},{1,-4},{1,-5},{1,-6},{1,-7},{1,-8},{1,-9},{1,-10},"
                      "{1,-11},{1,-12},{1,-13},{1,-14},{1,-15},{1,-16},{1,-17},{1,-18},{1,-19},{1,-20}))");
}
BENCHMARK(BM_PolyRootsDegree20RealRoots)->Unit(benchmark::kMicrosecond);

}  // namespace
