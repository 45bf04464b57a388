#pragma once
// Determinant, characteristic polynomial and inverse of square complex
// matrices, free of the evaluator so that they can be tested and timed on
// their own. Matrices are row-major element arrays of n x n entries.
//
// Up to kCofactorLimit rows the determinant and the characteristic
// polynomial use the recursive cofactor expansion along the first row, whose
// results users know; larger matrices switch to polynomial-time methods
// (the expansion costs n! and would never finish). Whole-number matrices
// keep exact answers through fraction-free elimination while it fits a
// double; everything else goes through LU with partial pivoting.
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
// LU with partial pivoting; for whole-number matrices whose determinant
// may fit a double, fraction-free elimination makes it exact.
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

// Replaces `a` by its inverse. Whole-number matrices (up to kCofactorLimit
// rows, or while every minor is sure to fit a double): adj(A) / det(A)
// exactly, Singular when det(A) is 0. Otherwise LU with partial pivoting:
// Singular when the cofactor determinant (n <= kCofactorLimit) is exactly
// zero or no digit of the inverse could be right; a column without a
// non-zero pivot throws DivisionByZero for small matrices and is Singular
// for larger ones.
InverseStatus invertMatrix(std::vector<Complex>& a, int n, const AbortFlag& abort);

// The product L x R of an n x n matrix with itself-sized R, summed from
// 0+0i in index order (the same arithmetic as the '*' operator).
std::vector<Complex> squareProduct(std::span<const Complex> l, std::span<const Complex> r, int n);

}  // namespace vx
