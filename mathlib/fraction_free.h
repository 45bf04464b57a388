#pragma once
// Fraction-free (Bareiss) elimination for matrices of whole numbers (real
// or Gaussian integers): every intermediate value is a minor of the matrix,
// each division is exact, so the determinant and the adjugate come out
// exactly while they fit a double. When a minor grows past 2^53 the method
// gives up (Inexact) and the caller falls back to LU. Row-major n x n.
#include <atomic>
#include <span>
#include <vector>

#include "engine/value.h"

namespace vx {

// Every part integral and at most 2^53 in magnitude.
bool hasWholeEntries(std::span<const Complex> a);

enum class FractionFree { Exact, Inexact, Aborted };

FractionFree fractionFreeDeterminant(std::span<const Complex> a, int n, const std::atomic<int>& abort, Complex& det);

// Gauss-Jordan on [A | I]: A^-1 = adj(A) / det(A), each entry rounded once.
// A singular matrix is reported through det = 0 (and `a` left unchanged).
FractionFree fractionFreeInverse(std::vector<Complex>& a, int n, const std::atomic<int>& abort, Complex& det);

}  // namespace vx
