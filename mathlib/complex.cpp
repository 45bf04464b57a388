// Complex arithmetic built on a real sine and cosine that are exact at the
// multiples of pi/2, so that exp(i*pi), sin(pi), sqrt(-4) and friends carry
// no rounding residue. pi is always formed as 4*atan(1) where it is needed.
#include "mathlib/complex.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

// 4*atan(1), formed once: the same double every use would compute.
const double kPi = 4.0 * std::atan(1.0);
double piValue() { return kPi; }

// Argument reduced to t = x/pi in (-2, 2), keeping the sign of x.
double reducedTurns(double x) { return fmodTwo(x / piValue()); }

// Up to this |x| a reduced t at a quarter turn means x is meant as a
// multiple of pi/2 (k*pi for k up to about 5 million); beyond it t has too
// few bits left to say so, and the library's own reduction takes over.
constexpr double kExactTurnsLimit = 0x1p24;

double roundPartSignificant(double x, int n) {
    if (x == 0.0 || !std::isfinite(x)) return x;
    // Leading-digit position from |x|: log10 of a negative part is NaN.
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    const double s = std::pow(10.0, n - e - 1) * x;
    if (!std::isfinite(s)) return x;  // more digits than a double holds
    double r = std::floor(s);
    if (s - r >= 0.5) r += 1.0;
    return std::pow(10.0, e - n + 1) * r;
}

double roundPartHalfUp(double x) {
    const double fl = std::floor(x);
    return x - fl < 0.5 ? fl : std::ceil(x);
}

}  // namespace

namespace {

// An infinite operand against a finite one, as C's Annex G has it: the
// infinite parts become +-1, the finite ones 0, and the quotient is scaled
// to 0 (infinite divisor) or infinity (infinite dividend). Anything with a
// NaN or infinite on both sides keeps the textbook NaN.
Complex divideNonFinite(Complex a, Complex b) {
    auto unit = [](double x) { return std::copysign(std::isinf(x) ? 1.0 : 0.0, x); };
    const bool aFinite = std::isfinite(a.re) && std::isfinite(a.im);
    const bool bFinite = std::isfinite(b.re) && std::isfinite(b.im);
    const bool anyNan = std::isnan(a.re) || std::isnan(a.im) || std::isnan(b.re) || std::isnan(b.im);
    if (!anyNan && aFinite && !bFinite) {
        const Complex u{unit(b.re), unit(b.im)};
        return {0.0 * (a.re * u.re + a.im * u.im), 0.0 * (a.im * u.re - a.re * u.im)};
    }
    if (!anyNan && !aFinite && bFinite) {
        // An exact 0 in a part stays 0: INF/2 is INF, not INF+NaN i.
        auto infinite = [](double x) { return x == 0.0 ? x : HUGE_VAL * x; };
        const Complex u{unit(a.re), unit(a.im)};
        return {infinite(u.re * b.re + u.im * b.im), infinite(u.im * b.re - u.re * b.im)};
    }
    const double d = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
}

}  // namespace

Complex cxDivideOutOfRange(Complex a, Complex b) {
    if (b.re == 0.0 && b.im == 0.0) throw DivisionByZero{};
    if (!std::isfinite(a.re) || !std::isfinite(a.im) || !std::isfinite(b.re) || !std::isfinite(b.im))
        return divideNonFinite(a, b);
    // b scaled into [1, 2) and a brought down only when its products could
    // overflow; the powers of two are exact, and the parts that the scaling
    // pushes below the normal range are too small to matter beside the others.
    const int eb = std::ilogb(std::fmax(std::fabs(b.re), std::fabs(b.im)));
    const double ma = std::fmax(std::fabs(a.re), std::fabs(a.im));
    const int ea = ma > 0x1p1000 ? std::ilogb(ma) : 0;
    const Complex as{std::ldexp(a.re, -ea), std::ldexp(a.im, -ea)};
    const Complex bs{std::ldexp(b.re, -eb), std::ldexp(b.im, -eb)};
    const double d = bs.re * bs.re + bs.im * bs.im;
    return {std::ldexp((as.re * bs.re + as.im * bs.im) / d, ea - eb),
            std::ldexp((as.im * bs.re - as.re * bs.im) / d, ea - eb)};
}

double cxArgument(Complex z) {
    const double x = z.re;
    const double y = z.im;
    if (x == 0.0 && y == 0.0) return 0.0;
    double a;
    if (x <= 0.0) {
        a = (y == 0.0) ? piValue() : 2.0 * std::atan(1.0) + std::atan(std::fabs(x) / std::fabs(y));
    } else {
        a = std::atan(std::fabs(y) / std::fabs(x));
    }
    // Only a strictly negative y flips: (-1, -0.0) stays at +pi.
    return y < 0.0 ? -a : a;
}

Complex cxPowerGeneral(Complex z, Complex w) {
    if (z.re == 0.0 && z.im == 0.0) {
        return (w.re == 0.0 && w.im == 0.0) ? Complex{1.0, 0.0} : Complex{0.0, 0.0};
    }
    if (z.im == 0.0 && z.re >= 0.0 && w.im == 0.0) return {std::pow(z.re, w.re), 0.0};
    return cxExp(cxMultiply(w, cxLn(z)));
}

Complex cxLn(Complex z) { return {std::log(cxModulus(z)), cxArgument(z)}; }

Complex cxLogBase(Complex z, Complex base) { return cxDivide(cxLn(z), cxLn(base)); }

Complex cxSqrt(Complex z) { return cxPower(z, Complex{0.5, 0.0}); }

namespace {

// The reduced t is matched exactly at the quarter turns on both sides of 0,
// so negative multiples of pi/2 are as exact as the positive ones.
// Elsewhere the library's function of x itself: sin(t pi) carried the
// rounding of x/pi and of t*pi, an error of about |x| 1.5e-16 that showed in
// the printed digits near the zeros and at large |x| (cos(1e15) was -0.5556
// for -0.5132), while glibc reduces x exactly.
inline double sineOfTurns(double x, double t) {
    if (std::fabs(x) <= kExactTurnsLimit) {
        if (t == 0.0 || t == 1.0 || t == -1.0) return 0.0;
        if (t == 0.5 || t == -1.5) return 1.0;
        if (t == 1.5 || t == -0.5) return -1.0;
    }
    return std::sin(x);
}

inline double cosineOfTurns(double x, double t) {
    if (std::fabs(x) <= kExactTurnsLimit) {
        if (t == 0.5 || t == 1.5 || t == -0.5 || t == -1.5) return 0.0;
        if (t == 0.0) return 1.0;
        if (t == 1.0 || t == -1.0) return -1.0;
    }
    return std::cos(x);
}

// The reduced points where sine and cosine take exact values: t in
// {0, +-0.5, +-1, +-1.5}, that is |t| < 2 with 2t whole.
inline bool isQuarterTurn(double t) {
    const double twice = 2.0 * t;
    return std::fabs(t) < 2.0 && twice == static_cast<double>(static_cast<int>(twice));
}

// The last doubles below pi, pi/2 and 3pi/2.
constexpr double kBelowPi = 0x1.921fb54442d18p+1;
constexpr double kBelowHalfPi = 0x1.921fb54442d18p+0;
constexpr double kBelowThreeHalfPi = 0x1.2d97c7f3321d2p+2;

// sin(theta) * 0.0 and cos(theta) * 0.0 for theta = t*pi, t finite and not
// a quarter turn, without the library calls: only the sign of the factor
// matters. The library's sine and cosine of a double theta are within an
// ulp of the true values, which are at least 6e-17 away from zero for every
// double theta in (-2pi, 2pi), so the factor's sign is that of the true
// function.
inline double sineTimesZero(double theta) {
    const bool positive = std::fabs(theta) <= kBelowPi;
    return (positive == (theta > 0.0)) ? 0.0 : -0.0;
}

inline double cosineTimesZero(double theta) {
    const double magnitude = std::fabs(theta);
    return (magnitude <= kBelowHalfPi || magnitude > kBelowThreeHalfPi) ? 0.0 : -0.0;
}

// sineOfTurns(x, t) * 0.0 and cosineOfTurns(x, t) * 0.0.
inline double sineTurnsTimesZero(double x, double t) {
    if (std::fabs(x) > kExactTurnsLimit) return std::sin(x) * 0.0;
    if (!std::isfinite(t) || isQuarterTurn(t)) return sineOfTurns(x, t) * 0.0;
    return sineTimesZero(t * piValue());
}

inline double cosineTurnsTimesZero(double x, double t) {
    if (std::fabs(x) > kExactTurnsLimit) return std::cos(x) * 0.0;
    if (!std::isfinite(t) || isQuarterTurn(t)) return cosineOfTurns(x, t) * 0.0;
    return cosineTimesZero(t * piValue());
}

// f cosh(y) and f sinh(y) where cosh or sinh overflows although the product
// may not (sin(1+711i)); there both are e^|y|/2, taken in two halves, and an
// exact 0 factor stays 0 rather than becoming NaN.
inline double halfExpHalf(double y) { return std::exp(0.5 * std::fabs(y) - 0.5 * std::log(2.0)); }

inline double timesCosh(double f, double y) {
    if (std::fabs(y) < 709.0) return f * std::cosh(y);
    if (f == 0.0) return f;
    const double h = halfExpHalf(y);
    return (f * h) * h;
}

inline double timesSinh(double f, double y) {
    if (std::fabs(y) < 709.0) return f * std::sinh(y);
    const double signedF = y < 0.0 ? -f : f;
    if (f == 0.0) return signedF;
    const double h = halfExpHalf(y);
    return (signedF * h) * h;
}

}  // namespace

// For a real argument cosh(0) is exactly 1 and sinh(0) exactly +0, so the
// hyperbolic calls are skipped without changing a bit of the result.
Complex cxSin(Complex z) {
    if (z.im == 0.0 && !std::signbit(z.im)) {
        const double t = reducedTurns(z.re);
        return {sineOfTurns(z.re, t), cosineTurnsTimesZero(z.re, t)};
    }
    return {timesCosh(exactSine(z.re), z.im), timesSinh(exactCosine(z.re), z.im)};
}

Complex cxCos(Complex z) {
    if (z.im == 0.0 && !std::signbit(z.im)) {
        const double t = reducedTurns(z.re);
        return {cosineOfTurns(z.re, t), -sineTurnsTimesZero(z.re, t)};
    }
    return {timesCosh(exactCosine(z.re), z.im), -timesSinh(exactSine(z.re), z.im)};
}

// sinh(x+iy) = (sinh x cos y, cosh x sin y) and cosh(x+iy) = (cosh x cos y,
// sinh x sin y) with the library's sinh and cosh: exp(x) - exp(-x) would
// cancel near 0 (sinh(1e-100) came out 0) and overflow into NaN far out.
Complex cxSinh(Complex z) {
    if (z.im == 0.0) return {std::sinh(z.re), 0.0};
    return {timesSinh(exactCosine(z.im), z.re), timesCosh(exactSine(z.im), z.re)};
}

Complex cxCosh(Complex z) {
    if (z.im == 0.0) return {std::cosh(z.re), 0.0};
    return {timesCosh(exactCosine(z.im), z.re), timesSinh(exactSine(z.im), z.re)};
}

void cxSinCos(Complex z, Complex& sine, Complex& cosine) {
    if (z.im == 0.0 && !std::signbit(z.im)) {
        const double x = z.re;
        const double t = reducedTurns(x);
        if (std::fabs(x) <= kExactTurnsLimit && std::isfinite(t) && !isQuarterTurn(t)) {
            // glibc's sincos gives exactly its sin and cos (tested).
            const double theta = t * piValue();
            double s, c;
            ::sincos(x, &s, &c);
            sine = {s, cosineTimesZero(theta)};
            cosine = {c, -sineTimesZero(theta)};
            return;
        }
        sine = {sineOfTurns(x, t), cosineTurnsTimesZero(x, t)};
        cosine = {cosineOfTurns(x, t), -sineTurnsTimesZero(x, t)};
        return;
    }
    sine = cxSin(z);
    cosine = cxCos(z);
}

Complex cxExp(Complex z) {
    const double t = reducedTurns(z.im);  // one reduction serves both
    const double c = cosineOfTurns(z.im, t), s = sineOfTurns(z.im, t);
    const double m = std::exp(z.re);
    if (!std::isinf(m)) return {m * c, m * s};
    // e^re has overflowed: an exact 0 factor stays 0 (exp(1000) is INF, not
    // INF+NaN i), and e^re cos(im) may still be finite, so e^re is taken in
    // two halves.
    const double half = std::exp(0.5 * z.re);
    auto times = [half](double f) { return f == 0.0 ? f : (f * half) * half; };
    return {times(c), times(s)};
}

double exactSine(double x) { return sineOfTurns(x, reducedTurns(x)); }

double exactCosine(double x) { return cosineOfTurns(x, reducedTurns(x)); }

bool isIntegral(double x) { return std::fmod(x, 1.0) == 0.0; }

Complex roundHalfUp(Complex z) { return {roundPartHalfUp(z.re), roundPartHalfUp(z.im)}; }

Complex roundSignificant(Complex z, int n) {
    return {roundPartSignificant(z.re, n), roundPartSignificant(z.im, n)};
}

}  // namespace vx
