#pragma once
// Eigenvalues of square complex matrices. Users know them as the roots of
// the characteristic polynomial, found by Newton's method from 1 with
// deflation, and in that order. Those roots are kept wherever they are
// right; where they are not (clustered or repeated eigenvalues, larger
// matrices whose polynomial coefficients cannot carry the roots) the
// eigenvalues come from the Schur form, put in the order the deflation
// would have found them. Row-major n x n element arrays.
#include <atomic>
#include <span>
#include <vector>

#include "engine/value.h"

namespace vx {

// Up to this size the polynomial roots are computed and checked; above it
// the polynomial is not exact and its roots are not worth the time.
constexpr int kPolynomialRootsLimit = 8;

enum class EigenvalueStatus { Ok, Empty, Aborted, NoConvergence };

// Empty for the 0 x 0 matrix (its polynomial is a constant); NoConvergence
// when the Schur iteration fails and the polynomial roots cannot stand in.
EigenvalueStatus matrixEigenvalues(std::span<const Complex> a, int n, const std::atomic<int>& abort,
                                   std::vector<Complex>& values);

// The eigenvalues from the Schur form (real Schur form for real matrices,
// so real eigenvalues are exactly real and complex ones come in exactly
// conjugate pairs), in the order the solver returns them.
std::vector<Complex> schurEigenvalues(std::span<const Complex> a, int n);

// Reorders values as Newton's method from 1 (then i, -1, -i) with
// deflation, ending with the quadratic formula, finds the roots of the
// polynomial with these roots and leading coefficient (-1)^n. False when
// aborted.
bool orderLikeDeflation(std::vector<Complex>& values, const std::atomic<int>& abort);

}  // namespace vx
