#pragma once
// Determinant, characteristic polynomial and inverse of square complex
// matrices, free of the evaluator so that they can be tested and timed on
// their own. Matrices are row-major element arrays of n x n entries.
//
// Up to kCofactorLimit rows the determinant and the characteristic
// polynomial use the recursive cofactor expansion along the first row, whose
// results users know; larger matrices switch to polynomial-time methods
// (the expansion costs n! and would never finish).
//
// Every routine polls `abort` once per step of its outer loop and gives up
// (returns false / Aborted) as soon as it is set.
#include <atomic>
#include <span>
#include <vector>

#include "engine/value.h"

namespace vx {

using AbortFlag = std::atomic<int>;

constexpr int kCofactorLimit = 8;

// det(A): cofactor expansion for n <= kCofactorLimit, elimination above.
// The 0 x 0 matrix has determinant 1 (the empty product).
bool determinant(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det);
bool determinantByCofactors(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det);
// Fraction-free (Bareiss) elimination with row exchanges: exact for integer
// matrices as long as the minors fit a double. When the intermediate
// products overflow although the determinant itself need not, the result is
// taken from ordinary elimination with partial pivoting instead.
bool determinantByElimination(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det);

// Coefficients of det(A - xI), highest degree first: n + 1 of them, the
// leading one (-1)^n. Cofactor expansion over polynomial entries for
// n <= kCofactorLimit, the division-free Berkowitz method above.
bool characteristicPolynomial(std::span<const Complex> a, int n, const AbortFlag& abort,
                              std::vector<Complex>& coefficients);
bool charpolyByCofactors(std::span<const Complex> a, int n, const AbortFlag& abort,
                         std::vector<Complex>& coefficients);
bool charpolyByBerkowitz(std::span<const Complex> a, int n, const AbortFlag& abort,
                         std::vector<Complex>& coefficients);

enum class InverseStatus { Ok, Singular, Aborted };

// Replaces `a` by its inverse. Singular when determinant() is exactly zero.
// A pivot that is exactly zero is exchanged with the first later row that
// has a non-zero entry in its column; when there is none the sweep divides
// by zero and DivisionByZero propagates to the caller.
InverseStatus invertMatrix(std::vector<Complex>& a, int n, const AbortFlag& abort);

// The product L x R of an n x n matrix with itself-sized R, summed from
// 0+0i in index order (the same arithmetic as the '*' operator).
std::vector<Complex> squareProduct(std::span<const Complex> l, std::span<const Complex> r, int n);

}  // namespace vx
