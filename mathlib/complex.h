#pragma once
// Complex arithmetic of the workbench. These are deliberately not the
// std::complex operators: division, power and the trigonometric functions
// follow our own definitions so that results such as exp(i*pi) are exact.
#include <cmath>

#include "engine/value.h"

namespace vx {

// Thrown by cxDivide when the divisor is exactly 0+0i; caught by the
// elementary-function application, the '/' operator, inverse and the
// statement boundary, each of which reports "Division by Zero".
struct DivisionByZero {};

inline Complex cxMake(double re, double im) { return Complex{re, im}; }
inline Complex cxAdd(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex cxSubtract(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex cxMultiply(Complex a, Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
// Magnitudes whose squares and products stay well inside the double range:
// a complex number is ordinary when |re| + |im| is 0 or lies in
// [2^-450, 2^450]. The textbook formulas are exact to rounding on ordinary
// numbers (a part too small to square is then negligible beside the other).
inline bool ordinaryMagnitude(double sum) { return (sum >= 0x1p-450) & (sum <= 0x1p450); }
// Division outside the ordinary range: throws DivisionByZero for 0+0i,
// otherwise scales the operands by powers of two (Smith's idea, kept exact)
// so that 1e300/1e10 is 1E+290 and 1/1e-170 is 1e170; an infinite divisor
// gives 0, an infinite dividend an infinity.
Complex cxDivideOutOfRange(Complex a, Complex b);
// Throws DivisionByZero when b is 0+0i. An ordinary divisor (its squared
// modulus in [2^-900, 2^900]) with an ordinary or zero dividend keeps the
// textbook formula bit for bit; the test is one branch, division being hot.
inline Complex cxDivide(Complex a, Complex b) {
    const double d = b.re * b.re + b.im * b.im;
    const double magnitude = std::fabs(a.re) + std::fabs(a.im);
    if ((d >= 0x1p-900) & (d <= 0x1p900) & (ordinaryMagnitude(magnitude) | (magnitude == 0.0)))
        return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
    return cxDivideOutOfRange(a, b);
}
// Ordinary numbers keep the plain sqrt(re^2 + im^2); others go through
// hypot, which neither overflows nor underflows.
inline double cxModulus(Complex z) {
    const double magnitude = std::fabs(z.re) + std::fabs(z.im);
    if (ordinaryMagnitude(magnitude) | (magnitude == 0.0)) return std::sqrt(z.re * z.re + z.im * z.im);
    return std::hypot(z.re, z.im);
}
double cxArgument(Complex z);
Complex cxPowerGeneral(Complex z, Complex w);
// x^n for a whole x >= 1 and a whole n in [2, 64] whose value stays below
// 2^53: every partial product is then an exact integer, and pow returns
// that same exact value (at several times the cost). False otherwise.
inline bool exactWholePower(double x, double n, double& result) {
    if (!(n >= 2.0 && n <= 64.0 && x >= 1.0 && x < 0x1p53)) return false;
    const int e = static_cast<int>(n);
    if (e != n || static_cast<double>(static_cast<long long>(x)) != x) return false;
    double p = x;
    for (int k = 1; k < e; ++k) {
        p *= x;
        if (p >= 0x1p53) return false;
    }
    result = p;
    return true;
}
// A positive real base with a real exponent is the common case in loops
// (k^2): answered inline with the value the general rule's real pow gives,
// whole powers by exact multiplication.
inline Complex cxPower(Complex z, Complex w) {
    if (z.im == 0.0 && z.re > 0.0 && w.im == 0.0) {
        double p;
        if (exactWholePower(z.re, w.re, p)) return {p, 0.0};
        return {std::pow(z.re, w.re), 0.0};
    }
    return cxPowerGeneral(z, w);
}
inline Complex cxPower(Complex z, double w) { return cxPower(z, Complex{w, 0.0}); }
inline Complex cxPower(double z, Complex w) { return cxPower(Complex{z, 0.0}, w); }
Complex cxLn(Complex z);
Complex cxLogBase(Complex z, Complex base);
Complex cxExp(Complex z);
Complex cxSqrt(Complex z);
Complex cxSin(Complex z);
Complex cxCos(Complex z);
// cxSin(z) and cxCos(z), bit for bit, with one reduction and one library
// call for both when z is real.
void cxSinCos(Complex z, Complex& sine, Complex& cosine);
Complex cxSinh(Complex z);
Complex cxCosh(Complex z);
// gamma.cpp
Complex cxGamma(Complex z);

// fmod(y, 2) for finite y, computed as y - 2*trunc(y/2): the remainder is
// always representable, so the subtraction is exact and the result is the
// same double fmod returns, at a fraction of its cost.
inline double fmodTwo(double y) {
    if (!std::isfinite(y)) return std::fmod(y, 2.0);
    // Truncation through a 64-bit integer where it is exact; beyond 2^52
    // every double is already whole.
    const double h = y * 0.5;
    const double whole = std::fabs(h) < 0x1p52 ? static_cast<double>(static_cast<long long>(h)) : h;
    const double r = y - 2.0 * whole;
    return r == 0.0 ? std::copysign(0.0, y) : r;
}

// Real sine and cosine, exact at multiples of pi/2 (see complex.cpp).
double exactSine(double x);
double exactCosine(double x);

// Shared real helpers.
bool isIntegral(double x);                 // fmod(x, 1.0) == 0.0
Complex roundHalfUp(Complex z);            // per part
Complex roundSignificant(Complex z, int n);  // per part, n significant digits

}  // namespace vx
