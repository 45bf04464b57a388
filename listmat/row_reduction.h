#pragma once
// Reduced row echelon form and the null-space basis read off it, on plain
// row-major element arrays.
#include <atomic>
#include <span>
#include <vector>

#include "engine/value.h"

namespace vx {

// An element counts as zero when both parts are within this bound: 1e-10
// as a single-precision number (1.00000001e-10).
double rowReductionEpsilon();
bool isNearZero(Complex z);

// The reduced row echelon form of a rows x columns matrix: rows sorted by
// their leading-zero count, each pivot row divided by its pivot and the
// pivot's column cleared from the other rows, rows sorted again, near-zero
// elements written as exact 0. False when `abort` was set meanwhile.
bool reducedRowEchelon(std::span<const Complex> m, int rows, int columns, const std::atomic<int>& abort,
                       std::vector<Complex>& result);

// A basis of the null space from a reduced row echelon form R: one row of
// `columns` elements per free column (a column holding no row's first
// element that is not exactly 0). No free column gives no rows.
std::vector<Complex> nullspaceFromEchelon(std::span<const Complex> r, int rows, int columns, int& basisRows);

}  // namespace vx
