// Interpreter workloads: parsing, operator evaluation, variable lookup.
#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

namespace {

std::string longStatement() {
    std::string s = "1";
    for (int k = 0; k < 500; ++k) s += "+" + std::to_string(k) + "*x^2-sin(" + std::to_string(k) + ")";
    return s;
}

void BM_ParseAndConvertLongStatement(benchmark::State& state) {
    std::string s = longStatement();
    vx::ErrorText error;
    for (auto _ : state) {
        int ok = vx::checkStatement(error, s);
        vx::Expression e = vx::linkItems(vx::convertStatement(s));
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(e.items.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.size()));
}
BENCHMARK(BM_ParseAndConvertLongStatement);

void BM_EvaluateArithmetic(benchmark::State& state) {
    vx::bench::Fixture f;
    vx::Expression e = vx::parseInternal("(1+2)*3-4/5^2");
    for (auto _ : state) benchmark::DoNotOptimize(f.evaluate(e));
}
BENCHMARK(BM_EvaluateArithmetic);

void BM_VariableLookupWith1000Globals(benchmark::State& state) {
    vx::bench::Fixture f;
    std::string defs;
    for (int k = 0; k < 1000; ++k) defs += "new(v" + std::to_string(k) + "," + std::to_string(k) + ")\n";
    f.run(defs);
    vx::Expression e = vx::parseInternal("v999");
    for (auto _ : state) benchmark::DoNotOptimize(f.evaluate(e));
}
BENCHMARK(BM_VariableLookupWith1000Globals);

}  // namespace

BENCHMARK_MAIN();
