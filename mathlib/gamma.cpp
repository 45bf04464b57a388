// The gamma function. Whole arguments keep their exact product while it is
// below 2^53; other real arguments use Boost.Math's tgamma, accurate to the
// last bit (the eight-term polynomial this replaced was off from the 7th
// digit); complex arguments use Lanczos' approximation with nine terms
// (the six-term one was off from the 9th digit), with the reflection
// formula for Re z < 0.5.
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <complex>

#include "mathlib/complex.h"
#include "mathlib/quiet_math_policy.h"

namespace vx {
namespace {

using Cx = std::complex<double>;
constexpr double pi = 3.14159265358979323846;
// Below this |x (x+1) ... f| is far beyond the double range, so gamma is a
// signed zero.
constexpr double kGammaUnderflowLimit = -200.0;

double gammaReal(double x) {
    if (std::isnan(x)) return 0.0;
    if (x == 1.0 || x == 2.0) return 1.0;
    // sqrt(pi)/2 and sqrt(pi), bit for bit as they always were.
    if (x == 1.5) return std::sqrt(std::atan(1.0));
    if (x == 0.5) return std::sqrt(std::atan(1.0)) / 0.5;
    if (std::isinf(x)) return x > 0.0 ? x : std::nan("");
    const double fl = std::floor(x);
    const bool evenFloor = std::fmod(fl, 2.0) == 0.0;
    if (x == fl) {
        if (x == 0.0) return 1.0 / x;  // a pole: +-INF by the sign of the zero
        if (x < 0.0) return evenFloor ? HUGE_VAL : -HUGE_VAL;
        // (x-1)! exactly, by the product, while it stays below 2^53; Boost's
        // table is correctly rounded beyond.
        double v = x - 1.0;
        for (double k = fl - 2.0; k >= 2.0 && v < 0x1p53; k -= 1.0) v *= k;
        if (v < 0x1p53) return v;
    }
    if (x < kGammaUnderflowLimit) return evenFloor ? 0.0 : -0.0;
    return boost::math::tgamma(x, QuietMathPolicy());
}

// ln gamma(z) for Re z >= 0.5 by Lanczos' approximation (g = 7, nine terms,
// relative error near 1e-15), kept in logarithms so that no factor
// overflows before the end; the branch of the logarithm is irrelevant, the
// result is only ever exponentiated.
Cx lnGammaRight(Cx z) {
    static constexpr double kCoefficients[] = {
        0.99999999999980993,     676.5203681218851,     -1259.1392167224028,
        771.32342877765313,      -176.61502916214059,   12.507343278686905,
        -0.13857109526572012,    9.9843695780195716e-6, 1.5056327351493116e-7,
    };
    const Cx w = z - 1.0;
    Cx sum = kCoefficients[0];
    for (int k = 1; k < 9; ++k) sum += kCoefficients[k] / (w + static_cast<double>(k));
    const Cx t = w + 7.5;
    const double halfLnTwoPi = 0.91893853320467274178;
    return halfLnTwoPi + (w + 0.5) * std::log(t) - t + std::log(sum);
}

// sin(pi z) with z first reduced by its nearest whole real part, so that
// the value near the poles of gamma keeps its relative accuracy.
Cx sinPi(Cx z) {
    const double k = std::nearbyint(z.real());
    const double a = z.real() - k, b = z.imag();
    const Cx s{std::sin(pi * a) * std::cosh(pi * b), std::cos(pi * a) * std::sinh(pi * b)};
    return std::fmod(k, 2.0) == 0.0 ? s : -s;
}

// ln sin(pi z), up to a multiple of 2 pi i; far from the real axis sin(pi z)
// is +-(i/2) e^(-+i pi z) to double precision and would overflow.
Cx lnSinPi(Cx z) {
    const Cx i{0.0, 1.0};
    if (std::fabs(pi * z.imag()) < 40.0) return std::log(sinPi(z));
    const double k = std::nearbyint(z.real());
    const Cx r{z.real() - k, z.imag()};
    const Cx parity{0.0, std::fmod(k, 2.0) == 0.0 ? 0.0 : pi};
    if (z.imag() > 0.0) return std::log(0.5) + i * (pi / 2) - i * pi * r + parity;
    return std::log(0.5) - i * (pi / 2) + i * pi * r + parity;
}

Cx gammaComplex(Cx z) {
    if (z.real() >= 0.5) return std::exp(lnGammaRight(z));
    // Reflection: gamma(z) = pi / (sin(pi z) gamma(1 - z)); in logarithms
    // where a factor would overflow on its own.
    const Cx lnMirror = lnGammaRight(1.0 - z);
    if (std::fabs(pi * z.imag()) < 40.0 && std::fabs(lnMirror.real()) < 700.0)
        return pi / sinPi(z) / std::exp(lnMirror);
    const double lnPi = 1.14472988584940017414;
    return std::exp(lnPi - lnSinPi(z) - lnMirror);
}

}  // namespace

Complex cxGamma(Complex z) {
    if (z.im == 0.0) return {gammaReal(z.re), 0.0};
    if (!std::isfinite(z.re) || !std::isfinite(z.im)) return {std::nan(""), std::nan("")};
    const Cx g = gammaComplex(Cx{z.re, z.im});
    return {g.real(), g.imag()};
}

}  // namespace vx
