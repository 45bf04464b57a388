#pragma once
// What Eigen's eigenvalue, Schur and singular value solvers may be given.
// They assume finite entries of moderate size: an infinity or NaN, or a
// square that leaves double's range inside a norm or a plane rotation,
// turns into NaN there, and a NaN can stall the Schur iteration until it
// reads before the start of its matrix.
#include <algorithm>
#include <cmath>
#include <span>

#include "engine/value.h"

namespace vx {

inline bool isFinite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

inline bool allFinite(std::span<const Complex> values) {
    for (const Complex& z : values)
        if (!isFinite(z)) return false;
    return true;
}

// Within 2^-400 ... 2^400 squares and products of two parts stay in range.
inline bool inSolverRange(double largest) { return largest == 0.0 || (largest >= 0x1p-400 && largest <= 0x1p400); }

// The power of four to divide a finite matrix by before a solver sees it:
// 1 while its largest part lies within 2^-400 ... 2^400, where squares and
// products of two parts stay in range (so such matrices are solved
// exactly as given), otherwise the one that brings the largest part near
// 1. Division by a power of two is exact (but for parts it takes below the
// normal range, which are negligible beside the largest): the eigenvectors
// stay the same, the eigenvalues scale back exactly, and a power of four
// keeps the square root of the scale exact too.
inline double solverScale(std::span<const Complex> a) {
    double largest = 0.0;
    for (const Complex& z : a) largest = std::max({largest, std::fabs(z.re), std::fabs(z.im)});
    if (inSolverRange(largest)) return 1.0;
    int exponent = 0;
    std::frexp(largest, &exponent);
    // An even power at most 2^1022: 2^1024 itself is beyond double's range.
    const int even = 2 * static_cast<int>(std::floor((exponent - 1) / 2.0));
    return std::ldexp(1.0, even);
}

}  // namespace vx
