#pragma once
// Complex division that survives divisors whose squared modulus under- or
// overflows (1e-200, 1e200): the divisor is first scaled by a power of two,
// which is exact, so inside the ordinary range the quotient is bit for bit
// that of cxDivide. Only an exact 0 divisor throws DivisionByZero.
#include <cmath>

#include "mathlib/complex.h"

namespace vx {

inline Complex cxDivideScaled(Complex a, Complex b) {
    const double largest = std::fmax(std::fabs(b.re), std::fabs(b.im));
    if (largest == 0.0 || !std::isfinite(largest)) return cxDivide(a, b);
    const int shift = -std::ilogb(largest);
    const Complex q = cxDivide(a, Complex{std::ldexp(b.re, shift), std::ldexp(b.im, shift)});
    return Complex{std::ldexp(q.re, shift), std::ldexp(q.im, shift)};
}

}  // namespace vx
