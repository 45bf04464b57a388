#pragma once
// LU factorisation with partial pivoting for matrices whose determinant or
// inverse cannot be had exactly: a backward-stable O(n^3) method. Real
// entries are factored in real arithmetic, so a real matrix keeps an
// exactly real result. Row-major n x n element arrays.
#include <span>
#include <vector>

#include "engine/value.h"

namespace vx {

// The signed product of the pivots, accumulated with a separate binary
// exponent so that it overflows only when the determinant itself does.
Complex luDeterminant(std::span<const Complex> a, int n);

enum class LuInverse {
    Ok,
    ZeroPivot,       // a column without a non-zero pivot: singular as stored
    IllConditioned,  // reciprocal condition below the rounding unit: no digit would be right
};

// Replaces `a` by its inverse; on failure `a` is left unchanged.
LuInverse luInverse(std::vector<Complex>& a, int n);

}  // namespace vx
