#pragma once
// The linear-algebra built-ins (det, inverse, charpoly, eigenvalues, trace,
// transpose, ident, width, height, crossp, dotp, length) and the matrix
// powers that the '^' operator hands over.
#include <span>
#include <vector>

#include "engine/builtin_table.h"
#include "engine/evaluator.h"

namespace vx {

std::span<const BuiltinEntry> linearAlgebraBuiltins();

// Replaces the square matrix m by its inverse, or fails with inverse's own
// messages (shared by inverse(M) and M^-n).
bool invertInPlace(Eval& ev, Value& m);

// The eigenvalues of the matrix value m in the order users know, or fails
// with the messages of eigenvalues(M) (shared with eigenvectors, matfunc).
bool eigenvaluesOf(Eval& ev, const Value& m, std::vector<Complex>& values);

// M ^ p (base a matrix, exponent a number) and p ^ M; installed with
// setMatrixPowerHooks.
Tag matrixToPower(Eval& ev, Value& base, Value& exponent, Value& out);
Tag numberToMatrixPower(Eval& ev, Value& base, Value& exponent, Value& out);

}  // namespace vx
