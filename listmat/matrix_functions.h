#pragma once
// Functions of square matrices. The exponential, square root, logarithms,
// sine, cosine, their hyperbolic forms and powers have methods of their own
// that hold for every matrix, diagonalizable or not (scaling and squaring,
// Schur-Pade, Schur-Parlett); any other function goes through an
// eigenvector basis, f(A) = P diag(f(lambda)) P^-1, which exists only for
// diagonalizable matrices. Row-major n x n element arrays.
#include <span>
#include <string_view>
#include <vector>

#include "engine/value.h"

namespace vx {

enum class MatrixFunction { Exp, Sqrt, Ln, Log, Sin, Cos, Sinh, Cosh, Power };

// The elementary functions that have a method of their own (not Power).
bool findMatrixFunction(std::string_view name, MatrixFunction& f);

enum class DirectStatus {
    Done,
    OnBranchCut,  // a real matrix with an eigenvalue on the function's cut: see below
    NotFinite,    // the method broke down (no such function of this matrix, or a 0/0),
                  // or the matrix lies outside the solvers' range
};

// f(A), p being the exponent of Power. A real matrix is worked in real
// arithmetic so that a real result is exactly real. Square root, logarithms
// and non-integral powers of a real matrix with an eigenvalue on the closed
// negative real axis (`values`) report OnBranchCut unless `asComplex`: the
// eigenvector basis then applies the scalar function's own branch to the
// exactly real eigenvalue, which the complex Schur form would blur.
DirectStatus applyMatrixFunction(MatrixFunction f, Complex p, std::span<const Complex> a, int n,
                                 const std::vector<Complex>& values, bool asComplex, std::vector<Complex>& result);

// P diag(f) P^-1 where row k of `vectorRows` (the eigenvectors) belongs to
// f[k]. False when the rows are not a basis or too close to dependent for
// the product to carry any right digit. For a real matrix whose function
// values come in conjugate pairs with the eigenvalues the result is real.
bool applyThroughEigenbasis(std::span<const Complex> a, int n, const std::vector<Complex>& values,
                            const std::vector<Complex>& f, const std::vector<Complex>& vectorRows,
                            std::vector<Complex>& result);

}  // namespace vx
