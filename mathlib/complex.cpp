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

// gamma(x) for x in [1, 2]: the classical eight-term polynomial in t = x - 1
// (absolute error about 3e-7), exact at 1.5 where gamma is sqrt(pi)/2.
double gammaUnit(double x) {
    if (x == 1.5) return std::sqrt(std::atan(1.0));
    const double t = x - 1.0;
    return 1.0 - 0.577191652 * std::pow(t, 1.0) + 0.988205891 * std::pow(t, 2.0) -
           0.897056937 * std::pow(t, 3.0) + 0.918206857 * std::pow(t, 4.0) -
           0.756704078 * std::pow(t, 5.0) + 0.482199394 * std::pow(t, 6.0) -
           0.193527818 * std::pow(t, 7.0) + 0.035868343 * std::pow(t, 8.0);
}

// Below this |x (x+1) ... f| is far beyond the double range, so the quotient
// of the recurrence is a signed zero.
constexpr double kGammaUnderflowLimit = -200.0;

double gammaReal(double x) {
    if (std::isnan(x)) return 0.0;
    if (x == 1.0 || x == 2.0) return 1.0;
    const double fl = std::floor(x);
    if (x > 1.0 && x == fl) {
        // (x-1)!; stops once the product has overflowed, which also keeps
        // huge arguments (where k-1 == k) from looping forever.
        double v = x - 1.0;
        for (double k = fl - 2.0; k >= 2.0 && !std::isinf(v); k -= 1.0) v *= k;
        return v;
    }
    if (x > 1.0 && x < 2.0) return gammaUnit(x);
    if (x > 2.0) {
        // gamma(x) = (x-1)(x-2)...(t) * gamma(t) with t in (1, 2).
        const double t = x - fl + 1.0;
        double v = x - 1.0;
        for (double k = 0.0; k <= fl - 3.0 && !std::isinf(v); k += 1.0) v = (t + k) * v;
        return gammaUnit(t) * v;
    }
    // x < 1: gamma(x) = gamma(f + 1) / (x (x+1) ... ), f the fractional part.
    if (std::isinf(x)) return std::nan("");
    const double f = x - fl;
    // Poles and far-negative arguments get the value the recurrence has for
    // moderate arguments, without its product overflowing (inf * 0 = NaN at
    // the poles) or its loop running forever where k + 1 == k.
    const bool evenFloor = std::fmod(fl, 2.0) == 0.0;
    if (f == 0.0 && x < -1.0) return evenFloor ? HUGE_VAL : -HUGE_VAL;
    if (x < kGammaUnderflowLimit) return evenFloor ? 0.0 : -0.0;
    double v = x;
    for (double k = fl + 1.0; k <= 0.0; k += 1.0) v = (f + k) * v;
    return gammaUnit(f + 1.0) / v;  // real division: infinite at the poles
}

// Lanczos approximation (g = 5, six terms) for a non-real argument.
Complex gammaLanczos(Complex z) {
    static constexpr double kCoefficients[6] = {
        76.18009172947146,     -86.50532032941678,     24.01409824083091,
        -1.231739572450155,    0.001208650973866179,   -0.000005395239384953,
    };
    // Fractions summed first to last, the constant term added at the end.
    Complex s = cxDivide({kCoefficients[0], 0.0}, cxAdd(z, {1.0, 0.0}));
    for (int j = 1; j < 6; ++j) {
        s = cxAdd(s, cxDivide({kCoefficients[j], 0.0}, cxAdd(z, {j + 1.0, 0.0})));
    }
    s = cxAdd(s, {1.000000000190015, 0.0});
    Complex r = cxMultiply(cxDivide({std::sqrt(8.0 * std::atan(1.0)), 0.0}, z), s);
    const Complex shifted = cxAdd(z, {5.5, 0.0});
    r = cxMultiply(r, cxPower(shifted, cxAdd(z, {0.5, 0.0})));
    r = cxMultiply(r, cxExp(cxSubtract({0.0, 0.0}, shifted)));
    return r;
}

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

Complex cxDivideOutOfRange(Complex a, Complex b) {
    if (b.re == 0.0 && b.im == 0.0) throw DivisionByZero{};
    // |b| so small (or large) that its squared modulus under- or overflows:
    // divide by b scaled to magnitude 1 instead, so that 1/1e-170 is 1e170
    // rather than a false division by zero.
    if (std::isfinite(b.re) && std::isfinite(b.im)) {
        const double scale = std::max(std::fabs(b.re), std::fabs(b.im));
        const Complex bs{b.re / scale, b.im / scale};
        const double ds = bs.re * bs.re + bs.im * bs.im;
        return {((a.re * bs.re + a.im * bs.im) / ds) / scale, ((a.im * bs.re - a.re * bs.im) / ds) / scale};
    }
    const double d = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
}

double cxModulus(Complex z) { return std::sqrt(z.re * z.re + z.im * z.im); }

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

Complex cxExp(Complex z) {
    const double m = std::exp(z.re);
    return {m * exactCosine(z.im), m * exactSine(z.im)};
}

Complex cxSqrt(Complex z) { return cxPower(z, Complex{0.5, 0.0}); }

namespace {

// The reduced t is matched exactly at the quarter turns on both sides of 0,
// so negative multiples of pi/2 are as exact as the positive ones.
inline double sineOfTurns(double t) {
    if (t == 0.0 || t == 1.0 || t == -1.0) return 0.0;
    if (t == 0.5 || t == -1.5) return 1.0;
    if (t == 1.5 || t == -0.5) return -1.0;
    return std::sin(t * piValue());
}

inline double cosineOfTurns(double t) {
    if (t == 0.5 || t == 1.5 || t == -0.5 || t == -1.5) return 0.0;
    if (t == 0.0) return 1.0;
    if (t == 1.0 || t == -1.0) return -1.0;
    return std::cos(t * piValue());
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

// sineOfTurns(t) * 0.0 and cosineOfTurns(t) * 0.0.
inline double sineTurnsTimesZero(double t) {
    if (!std::isfinite(t) || isQuarterTurn(t)) return sineOfTurns(t) * 0.0;
    return sineTimesZero(t * piValue());
}

inline double cosineTurnsTimesZero(double t) {
    if (!std::isfinite(t) || isQuarterTurn(t)) return cosineOfTurns(t) * 0.0;
    return cosineTimesZero(t * piValue());
}

}  // namespace

// For a real argument cosh(0) is exactly 1 and sinh(0) exactly +0, so the
// hyperbolic calls are skipped without changing a bit of the result.
Complex cxSin(Complex z) {
    if (z.im == 0.0 && !std::signbit(z.im)) {
        const double t = reducedTurns(z.re);
        return {sineOfTurns(t), cosineTurnsTimesZero(t)};
    }
    return {exactSine(z.re) * std::cosh(z.im), exactCosine(z.re) * std::sinh(z.im)};
}

Complex cxCos(Complex z) {
    if (z.im == 0.0 && !std::signbit(z.im)) {
        const double t = reducedTurns(z.re);
        return {cosineOfTurns(t), -sineTurnsTimesZero(t)};
    }
    return {exactCosine(z.re) * std::cosh(z.im), -exactSine(z.re) * std::sinh(z.im)};
}

void cxSinCos(Complex z, Complex& sine, Complex& cosine) {
    if (z.im == 0.0 && !std::signbit(z.im)) {
        const double t = reducedTurns(z.re);
        if (std::isfinite(t) && !isQuarterTurn(t)) {
            // glibc's sincos gives exactly its sin and cos (tested).
            const double theta = t * piValue();
            double s, c;
            ::sincos(theta, &s, &c);
            sine = {s, cosineTimesZero(theta)};
            cosine = {c, -sineTimesZero(theta)};
            return;
        }
        sine = {sineOfTurns(t), cosineTurnsTimesZero(t)};
        cosine = {cosineOfTurns(t), -sineTurnsTimesZero(t)};
        return;
    }
    sine = cxSin(z);
    cosine = cxCos(z);
}

Complex cxGamma(Complex z) {
    if (z.im == 0.0) return {gammaReal(z.re), 0.0};
    return gammaLanczos(z);
}

double exactSine(double x) { return sineOfTurns(reducedTurns(x)); }

double exactCosine(double x) { return cosineOfTurns(reducedTurns(x)); }

bool isIntegral(double x) { return std::fmod(x, 1.0) == 0.0; }

Complex roundHalfUp(Complex z) { return {roundPartHalfUp(z.re), roundPartHalfUp(z.im)}; }

Complex roundSignificant(Complex z, int n) {
    return {roundPartSignificant(z.re, n), roundPartSignificant(z.im, n)};
}

}  // namespace vx
