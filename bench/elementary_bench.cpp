// The hot complex kernels on ordinary arguments, one call per input of a
// fixed table: what every loop, sum and plot sample pays. Compare a change
// against the same file built on the previous main.
#include <benchmark/benchmark.h>

#include <array>
#include <random>

#include "mathlib/complex.h"

namespace {

using vx::Complex;
constexpr size_t kInputs = 1024;

struct Inputs {
    std::array<Complex, kInputs> real, complex, exponent;
    Inputs() {
        std::mt19937_64 rng(3);
        std::uniform_real_distribution<double> wide(-20.0, 20.0), unit(0.1, 3.0);
        for (size_t k = 0; k < kInputs; ++k) {
            real[k] = {wide(rng), 0.0};
            complex[k] = {wide(rng), wide(rng) / 4};
            exponent[k] = {unit(rng), unit(rng) - 1.5};
        }
    }
};

const Inputs& inputs() {
    static const Inputs in;
    return in;
}

template <typename F>
void overInputs(benchmark::State& state, const std::array<Complex, kInputs>& values, F f) {
    const auto& right = inputs().exponent;
    for (auto _ : state)
        for (size_t k = 0; k < kInputs; ++k) benchmark::DoNotOptimize(f(values[k], right[k]));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kInputs));
}

void BM_SinReal(benchmark::State& s) { overInputs(s, inputs().real, [](Complex z, Complex) { return vx::cxSin(z); }); }
void BM_CosReal(benchmark::State& s) { overInputs(s, inputs().real, [](Complex z, Complex) { return vx::cxCos(z); }); }
void BM_SinComplex(benchmark::State& s) {
    overInputs(s, inputs().complex, [](Complex z, Complex) { return vx::cxSin(z); });
}
void BM_ExpReal(benchmark::State& s) { overInputs(s, inputs().real, [](Complex z, Complex) { return vx::cxExp(z); }); }
void BM_ExpComplex(benchmark::State& s) {
    overInputs(s, inputs().complex, [](Complex z, Complex) { return vx::cxExp(z); });
}
void BM_LnComplex(benchmark::State& s) {
    overInputs(s, inputs().complex, [](Complex z, Complex) { return vx::cxLn(z); });
}
void BM_PowerComplex(benchmark::State& s) {
    overInputs(s, inputs().complex, [](Complex z, Complex w) { return vx::cxPower(z, w); });
}
void BM_PowerReal(benchmark::State& s) {
    overInputs(s, inputs().real, [](Complex z, Complex w) {
        return vx::cxPower(Complex{z.re < 0 ? -z.re : z.re, 0.0}, Complex{w.re, 0.0});
    });
}
void BM_DivideComplex(benchmark::State& s) {
    overInputs(s, inputs().complex, [](Complex z, Complex w) { return vx::cxDivide(z, w); });
}

BENCHMARK(BM_SinReal);
BENCHMARK(BM_CosReal);
BENCHMARK(BM_SinComplex);
BENCHMARK(BM_ExpReal);
BENCHMARK(BM_ExpComplex);
BENCHMARK(BM_LnComplex);
BENCHMARK(BM_PowerComplex);
BENCHMARK(BM_PowerReal);
BENCHMARK(BM_DivideComplex);

}  // namespace
