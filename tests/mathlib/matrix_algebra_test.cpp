// Determinant, characteristic polynomial and inverse on their own: the
// elimination methods against the cofactor expansion, inverses against the
// identity, zero pivots, overflow and aborts.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "mathlib/complex.h"
#include "mathlib/matrix_algebra.h"

namespace vx {
namespace {

using Matrix = std::vector<Complex>;

const AbortFlag kNoAbort{0};

Matrix randomIntegers(std::mt19937& rng, int n, int bound, bool complexEntries) {
    std::uniform_int_distribution<int> d(-bound, bound);
    Matrix m(static_cast<size_t>(n * n));
    for (Complex& z : m) z = Complex{double(d(rng)), complexEntries ? double(d(rng)) : 0.0};
    return m;
}

Matrix fromReal(std::initializer_list<double> values) {
    Matrix m;
    for (double v : values) m.push_back(Complex{v, 0.0});
    return m;
}

Matrix identity(int n, double scale = 1.0) {
    Matrix m(static_cast<size_t>(n * n));
    for (int k = 0; k < n; ++k) m[static_cast<size_t>(k * n + k)] = Complex{scale, 0.0};
    return m;
}

void expectSame(Complex got, Complex want, const std::string& what) {
    EXPECT_EQ(got.re, want.re) << what;
    EXPECT_EQ(got.im, want.im) << what;
}

// Integer matrices keep every minor exact, so the two methods must agree to
// the bit, with real and with Gaussian-integer entries.
TEST(Determinant, EliminationMatchesCofactorsOnIntegerMatrices) {
    std::mt19937 rng(20240601);
    for (bool complexEntries : {false, true})
        for (int n = 1; n <= kCofactorLimit; ++n)
            for (int trial = 0; trial < 12; ++trial) {
                const Matrix m = randomIntegers(rng, n, complexEntries ? 4 : 9, complexEntries);
                Complex cofactor, elimination;
                ASSERT_TRUE(determinantByCofactors(m, n, kNoAbort, cofactor));
                ASSERT_TRUE(determinantByElimination(m, n, kNoAbort, elimination));
                expectSame(elimination, cofactor, "n=" + std::to_string(n) + " trial " + std::to_string(trial));
            }
}

// Exact oracle: fraction-free elimination in 128-bit integers.
__extension__ typedef __int128 Int128;

Int128 exactDeterminant(std::vector<Int128> a, int n) {
    Int128 previous = 1;
    bool negative = false;
    for (int k = 0; k + 1 < n; ++k) {
        int pivot = k;
        while (pivot < n && a[static_cast<size_t>(pivot * n + k)] == 0) ++pivot;
        if (pivot == n) return 0;
        if (pivot != k) {
            for (int c = 0; c < n; ++c) std::swap(a[static_cast<size_t>(k * n + c)], a[static_cast<size_t>(pivot * n + c)]);
            negative = !negative;
        }
        for (int i = k + 1; i < n; ++i)
            for (int c = k + 1; c < n; ++c)
                a[static_cast<size_t>(i * n + c)] = (a[static_cast<size_t>(i * n + c)] * a[static_cast<size_t>(k * n + k)] -
                                                     a[static_cast<size_t>(i * n + k)] * a[static_cast<size_t>(k * n + c)]) /
                                                    previous;
        previous = a[static_cast<size_t>(k * n + k)];
    }
    const Int128 last = a[static_cast<size_t>(n * n - 1)];
    return negative ? -last : last;
}

// Above the cofactor limit: integer determinants that fit a double come out
// exact although the products inside the elimination do not fit.
TEST(Determinant, EliminationIsExactForLargerIntegerMatrices) {
    std::mt19937 rng(31337);
    int compared = 0;
    for (int n = 9; n <= 14; ++n)
        for (int trial = 0; trial < 10; ++trial) {
            const Matrix m = randomIntegers(rng, n, 9, false);
            std::vector<Int128> exact;
            for (const Complex& z : m) exact.push_back(static_cast<Int128>(z.re));
            const Int128 want = exactDeterminant(exact, n);
            if (want > (Int128(1) << 53) || want < -(Int128(1) << 53)) continue;
            Complex det;
            ASSERT_TRUE(determinant(m, n, kNoAbort, det));
            EXPECT_EQ(det.re, static_cast<double>(want)) << "n=" << n << " trial " << trial;
            ++compared;
        }
    EXPECT_GT(compared, 30);
}

TEST(Determinant, KnownValues) {
    // The anti-identity needs a row exchange at every elimination step.
    Matrix anti(100);
    for (int k = 0; k < 10; ++k) anti[static_cast<size_t>(k * 10 + 9 - k)] = Complex{1.0, 0.0};
    // L U with L unit lower and U upper triangular (integers): det = 2^12.
    const int n = 12;
    Matrix lower = identity(n), upper = identity(n, 2.0);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            if (c < r) lower[static_cast<size_t>(r * n + c)] = Complex{double((r + c) % 3), 0.0};
            if (c > r) upper[static_cast<size_t>(r * n + c)] = Complex{double((r * c) % 5 - 2), 0.0};
        }
    const Matrix lu = squareProduct(lower, upper, n);
    struct Case {
        const char* what;
        Matrix m;
        int n;
        Complex det;
    } cases[] = {
        {"0x0 is the empty product", {}, 0, {1, 0}},
        {"anti-identity 10x10", anti, 10, {-1, 0}},
        {"integer L U 12x12", lu, n, {4096, 0}},
        {"singular 9x9", Matrix(81, Complex{1, 1}), 9, {0, 0}},
    };
    for (const Case& c : cases) {
        Complex det;
        ASSERT_TRUE(determinant(c.m, c.n, kNoAbort, det)) << c.what;
        expectSame(det, c.det, c.what);
    }
}

// 10 I of size 200 has determinant 1e200, but the fraction-free products
// pass 1e308 on the way; the result must still be the determinant.
TEST(Determinant, LargeMatrixWhoseMinorsOverflowStillGivesTheDeterminant) {
    Matrix real = identity(200, 10.0), imaginary(200 * 200);
    for (int k = 0; k < 200; ++k) imaginary[static_cast<size_t>(k * 200 + k)] = Complex{0.0, 10.0};
    for (const Matrix* m : {&real, &imaginary}) {  // (10i)^200 = 1e200 as well
        Complex det;
        ASSERT_TRUE(determinant(*m, 200, kNoAbort, det));
        EXPECT_NEAR(det.re / 1e200, 1.0, 1e-12);
        EXPECT_NEAR(det.im / 1e200, 0.0, 1e-12);
    }
}

TEST(CharacteristicPolynomial, BerkowitzMatchesCofactorsOnIntegerMatrices) {
    std::mt19937 rng(7);
    for (bool complexEntries : {false, true})
        for (int n = 1; n <= kCofactorLimit; ++n)
            for (int trial = 0; trial < 6; ++trial) {
                const Matrix m = randomIntegers(rng, n, complexEntries ? 2 : 5, complexEntries);
                std::vector<Complex> cofactor, berkowitz;
                ASSERT_TRUE(charpolyByCofactors(m, n, kNoAbort, cofactor));
                ASSERT_TRUE(charpolyByBerkowitz(m, n, kNoAbort, berkowitz));
                ASSERT_EQ(cofactor.size(), static_cast<size_t>(n + 1));
                ASSERT_EQ(berkowitz.size(), cofactor.size());
                for (size_t k = 0; k < cofactor.size(); ++k)
                    expectSame(berkowitz[k], cofactor[k], "n=" + std::to_string(n) + " coefficient " + std::to_string(k));
            }
}

// r + c has rank 2: every coefficient after x^(n-2) is exactly 0, although
// the terms R A^k C that cancel to give them pass 1e19.
TEST(CharacteristicPolynomial, LargeIntegerTermsCancelExactly) {
    for (const auto& [n, trace, minors] : {std::tuple{10, 90.0, -825.0}, std::tuple{12, 132.0, -1716.0}}) {
        Matrix m(static_cast<size_t>(n * n));
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) m[static_cast<size_t>(r * n + c)] = Complex{double(r + c), 0.0};
        std::vector<Complex> p;
        ASSERT_TRUE(characteristicPolynomial(m, n, kNoAbort, p));
        ASSERT_EQ(p.size(), size_t(n + 1));
        expectSame(p[0], {1, 0}, "leading");
        expectSame(p[1], {-trace, 0}, "x^(n-1)");
        expectSame(p[2], {minors, 0}, "x^(n-2)");
        for (size_t k = 3; k < p.size(); ++k) expectSame(p[k], {0, 0}, "n=" + std::to_string(n) + " coefficient " + std::to_string(k));
    }
}

// A 30 x 30 integer matrix similar to diag(1..30) through a unimodular L:
// its polynomial vanishes at 1..30 (checked with Horner relative to the
// size of the terms).
TEST(CharacteristicPolynomial, LargeMatrixVanishesAtItsEigenvalues) {
    const int n = 30;
    Matrix lower = identity(n), lowerInverse = identity(n), diagonal(static_cast<size_t>(n * n));
    for (int k = 0; k + 1 < n; ++k) {
        lower[static_cast<size_t>((k + 1) * n + k)] = Complex{1, 0};
        for (int r = k + 1; r < n; ++r)  // (I + N)^-1 has (-1)^(r-c) below the diagonal
            lowerInverse[static_cast<size_t>(r * n + k)] = Complex{(r - k) % 2 ? -1.0 : 1.0, 0};
    }
    for (int k = 0; k < n; ++k) diagonal[static_cast<size_t>(k * n + k)] = Complex{k + 1.0, 0};
    const Matrix a = squareProduct(squareProduct(lower, diagonal, n), lowerInverse, n);
    std::vector<Complex> p;
    ASSERT_TRUE(characteristicPolynomial(a, n, kNoAbort, p));
    ASSERT_EQ(p.size(), size_t(n + 1));
    EXPECT_EQ(p[0].re, 1.0);  // (-1)^30
    for (int root = 1; root <= n; ++root) {
        double value = 0, scale = 0;
        for (const Complex& c : p) {
            value = value * root + c.re;
            scale = scale * root + std::fabs(c.re);
        }
        EXPECT_LT(std::fabs(value) / scale, 1e-12) << "x=" << root;
    }
}

TEST(Inverse, TimesMatrixIsIdentityOnRandomMatrices) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (int n : {1, 2, 3, 5, 8, 9, 12, 40}) {
        Matrix m(static_cast<size_t>(n * n));
        for (Complex& z : m) z = Complex{d(rng), d(rng)};
        Matrix inv = m;
        ASSERT_EQ(invertMatrix(inv, n, kNoAbort), InverseStatus::Ok) << n;
        const Matrix product = squareProduct(inv, m, n);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) {
                const Complex z = product[static_cast<size_t>(r * n + c)];
                EXPECT_NEAR(z.re, r == c ? 1.0 : 0.0, 1e-9) << n << " (" << r << "," << c << ")";
                EXPECT_NEAR(z.im, 0.0, 1e-9) << n << " (" << r << "," << c << ")";
            }
    }
}

// Exact results, including matrices whose pivots are exactly zero before a
// row exchange.
TEST(Inverse, KnownInversesAndZeroPivots) {
    struct Case {
        const char* what;
        Matrix m;
        int n;
        Matrix want;
    } cases[] = {
        {"no zero pivot", fromReal({1, 2, 3, 4}), 2, fromReal({-2, 1, 1.5, -0.5})},
        {"swap 2x2", fromReal({0, 1, 1, 0}), 2, fromReal({0, 1, 1, 0})},
        {"zero pivot in the second step", fromReal({1, 1, 0, 1, 1, 1, 0, 1, 1}), 3,
         fromReal({0, 1, -1, 1, -1, 1, -1, 1, 0})},
        {"cycle 4x4", fromReal({0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0}), 4,
         fromReal({0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0})},
        {"0x0", {}, 0, {}},
    };
    for (Case& c : cases) {
        Matrix inv = c.m;
        ASSERT_EQ(invertMatrix(inv, c.n, kNoAbort), InverseStatus::Ok) << c.what;
        ASSERT_EQ(inv.size(), c.want.size()) << c.what;
        for (size_t k = 0; k < inv.size(); ++k) expectSame(inv[k], c.want[k], c.what);
    }
}

TEST(Inverse, SingularMatricesAndExhaustedPivots) {
    Matrix singular = fromReal({1, 2, 2, 4});
    EXPECT_EQ(invertMatrix(singular, 2, kNoAbort), InverseStatus::Singular);
    Matrix zero(100);
    EXPECT_EQ(invertMatrix(zero, 10, kNoAbort), InverseStatus::Singular);
    // det is 1.1e-16 by rounding, but the sweep's second pivot is exactly 0
    // with no row left to exchange with.
    Matrix nearlySingular = fromReal({0.3, 0.1, 9, 3});
    EXPECT_THROW(invertMatrix(nearlySingular, 2, kNoAbort), DivisionByZero);
}

TEST(Abort, EveryMethodStopsWhenTheFlagIsSet) {
    const AbortFlag stop{1};
    std::mt19937 rng(1);
    for (int n : {4, 8, 9, 20}) {
        const Matrix m = randomIntegers(rng, n, 9, false);
        Complex det;
        std::vector<Complex> p;
        Matrix inv = m;
        EXPECT_FALSE(determinant(m, n, stop, det)) << n;
        EXPECT_FALSE(characteristicPolynomial(m, n, stop, p)) << n;
        EXPECT_EQ(invertMatrix(inv, n, stop), InverseStatus::Aborted) << n;
    }
}

}  // namespace
}  // namespace vx
