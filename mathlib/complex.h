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
Complex cxDivide(Complex a, Complex b);  // throws DivisionByZero
double cxModulus(Complex z);
double cxArgument(Complex z);
Complex cxPowerGeneral(Complex z, Complex w);
// A positive real base with a real exponent is the common case in loops
// (k^2): answered inline with the real pow, exactly as the general rule does.
inline Complex cxPower(Complex z, Complex w) {
    if (z.im == 0.0 && z.re > 0.0 && w.im == 0.0) return {std::pow(z.re, w.re), 0.0};
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
Complex cxGamma(Complex z);

// fmod(y, 2.0), bit for bit, without the library call.
double fmodTwo(double y);

// Real sine and cosine, exact at multiples of pi/2 (see complex.cpp).
double exactSine(double x);
double exactCosine(double x);

// Shared real helpers.
bool isIntegral(double x);                 // fmod(x, 1.0) == 0.0
Complex roundHalfUp(Complex z);            // per part
Complex roundSignificant(Complex z, int n);  // per part, n significant digits

}  // namespace vx
