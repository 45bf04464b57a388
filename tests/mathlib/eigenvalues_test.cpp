// The eigenvalues from the Schur form must come out in the order users know
// from the roots of the characteristic polynomial (Newton from 1 with
// deflation, the last two by the quadratic formula), wherever those roots
// are right: larger matrices and repaired ones rely on that order. The
// matrices are symmetric: with complex roots about, Newton from 1 wanders
// the real axis until rounding noise in the powers sends it off, and which
// root it then finds is not the method's but the noise's.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <string>
#include <vector>

#include "mathlib/complex.h"
#include "mathlib/eigenvalues.h"
#include "mathlib/matrix_algebra.h"
#include "mathlib/polynomial.h"

namespace vx {
namespace {

const std::atomic<int> kNoAbort{0};

TEST(Eigenvalues, SchurValuesTakeTheOrderOfThePolynomialRoots) {
    std::mt19937 rng(14);
    std::uniform_int_distribution<int> d(-6, 6);
    int compared = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 3 + trial % 6;
        std::vector<Complex> a(static_cast<size_t>(n * n));
        for (int r = 0; r < n; ++r)
            for (int c = 0; c <= r; ++c)
                a[static_cast<size_t>(r * n + c)] = a[static_cast<size_t>(c * n + r)] = Complex{double(d(rng)), 0.0};
        std::vector<Complex> p, roots;
        ASSERT_TRUE(characteristicPolynomial(a, n, kNoAbort, p));
        if (polyRoots(p, roots, kNoAbort) != RootStatus::Ok) continue;
        std::vector<Complex> values = schurEigenvalues(a, n);
        ASSERT_EQ(values.size(), roots.size());
        double scale = 1.0;
        for (const Complex& z : values) scale = std::fmax(scale, cxModulus(z));
        // Only where the roots are right (each near a distinct value).
        std::vector<bool> used(values.size(), false);
        bool right = true;
        for (const Complex& r : roots) {
            size_t best = 0;
            for (size_t k = 1; k < values.size(); ++k)
                if (used[best] || (!used[k] && cxModulus(cxSubtract(values[k], r)) < cxModulus(cxSubtract(values[best], r))))
                    best = k;
            right = right && !used[best] && cxModulus(cxSubtract(values[best], r)) <= 1e-9 * scale;
            used[best] = true;
        }
        if (!right) continue;
        ASSERT_TRUE(orderLikeDeflation(values, kNoAbort));
        for (size_t k = 0; k < values.size(); ++k)
            EXPECT_LE(cxModulus(cxSubtract(values[k], roots[k])), 1e-6 * scale)
                << "trial " << trial << " n=" << n << " position " << k;
        ++compared;
    }
    EXPECT_GT(compared, 200);
}

}  // namespace
}  // namespace vx
