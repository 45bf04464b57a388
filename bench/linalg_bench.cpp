// Linear algebra: det, inverse and charpoly on both sides of the switch
// from cofactor expansion (n <= 8) to elimination, eigenvalues and
// eigenvectors, and polyroots; bench/compare_numpy.sh times the same sizes
// in numpy. Each case evaluates the built-in on a stored variable, so the
// time is the method's plus one copy of the operand, without parsing or
// printing.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/bench_util.h"

namespace {

std::vector<vx::Complex> randomMatrix(int n) {
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    std::vector<vx::Complex> m(static_cast<size_t>(n) * static_cast<size_t>(n));
    for (vx::Complex& z : m) z = vx::Complex{d(rng), 0.0};
    return m;
}

// An engine with the n x n random matrix stored as the variable m.
struct MatrixFixture : vx::bench::Fixture {
    explicit MatrixFixture(int n) { engine.stores.createMatrixVariable("m", n, n, randomMatrix(n), 0); }
};

void runStatement(benchmark::State& state, const char* statement) {
    MatrixFixture f(static_cast<int>(state.range(0)));
    const vx::Expression e = vx::parseInternal(statement);
    for (auto _ : state) {
        vx::Tag tag = f.evaluate(e);
        if (!tag) state.SkipWithError(f.error.text().c_str());
        benchmark::DoNotOptimize(tag);
    }
}

void BM_Det(benchmark::State& state) { runStatement(state, "det(m)"); }
BENCHMARK(BM_Det)->Arg(6)->Arg(8)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Arg(800)->Unit(benchmark::kMicrosecond);

void BM_Inverse(benchmark::State& state) { runStatement(state, "inverse(m)"); }
BENCHMARK(BM_Inverse)->Arg(6)->Arg(8)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Arg(800)->Unit(benchmark::kMicrosecond);

void BM_Eigenvalues(benchmark::State& state) { runStatement(state, "eigenvalues(m)"); }
BENCHMARK(BM_Eigenvalues)->Arg(6)->Arg(20)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_Eigenvectors(benchmark::State& state) { runStatement(state, "eigenvectors(m)"); }
BENCHMARK(BM_Eigenvectors)->Arg(20)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// Random real coefficients of the given degree, stored as the list p.
void BM_Polyroots(benchmark::State& state) {
    vx::bench::Fixture f;
    const int degree = static_cast<int>(state.range(0));
    std::vector<vx::Complex> p = randomMatrix(degree + 1);
    p.resize(static_cast<size_t>(degree) + 1);
    f.engine.stores.createListVariable("p", std::move(p), 0);
    const vx::Expression e = vx::parseInternal("polyroots(p)");
    for (auto _ : state) {
        vx::Tag tag = f.evaluate(e);
        if (!tag) state.SkipWithError(f.error.text().c_str());
        benchmark::DoNotOptimize(tag);
    }
}
BENCHMARK(BM_Polyroots)->Arg(20)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_Charpoly(benchmark::State& state) { runStatement(state, "charpoly(m)"); }
BENCHMARK(BM_Charpoly)->Arg(8)->Arg(30)->Unit(benchmark::kMicrosecond);

// A symmetric tridiagonal 6 x 6 matrix: six distinct real eigenvalues.
void BM_Eigenvectors6x6(benchmark::State& state) {
    vx::bench::Fixture f;
    const vx::Expression e = vx::parseInternal(
        "eigenvectors([[2,-1,0,0,0,0][-1,2,-1,0,0,0][0,-1,2,-1,0,0][0,0,-1,2,-1,0][0,0,0,-1,2,-1][0,0,0,0,-1,2]])");
    for (auto _ : state) {
        vx::Tag tag = f.evaluate(e);
        if (!tag) state.SkipWithError(f.error.text().c_str());
        benchmark::DoNotOptimize(tag);
    }
}
BENCHMARK(BM_Eigenvectors6x6)->Unit(benchmark::kMicrosecond);

}  // namespace
