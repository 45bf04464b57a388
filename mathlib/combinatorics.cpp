// ncr and npr used to be n!/((n-k)! k!) written in the language: fine for
// small numbers, but 200! is INF and INF/INF is NaN, and the poles of gamma
// at k > n gave NaN instead of 0. For a whole k they are products of k
// factors, taken in 128-bit integers while exact and in long double beyond;
// other arguments take the gamma quotient, in logarithms where the factorials
// themselves would overflow.
#include "mathlib/combinatorics.h"

#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <complex>

#include "mathlib/complex.h"
#include "mathlib/quiet_math_policy.h"

namespace vx {
namespace {

using Wide = long double;
__extension__ typedef unsigned __int128 Whole;  // GCC's 128-bit integer
using WideComplex = std::complex<long double>;

// Past this many factors a non-whole n takes the gamma quotient: the
// product no longer has to overflow to end, so it would run for ever.
constexpr double kMaxFactors = 1e5;

bool isWholeReal(Complex z) { return z.im == 0.0 && std::isfinite(z.re) && z.re == std::floor(z.re); }

// A running product of whole factors: exact in 128 bits while below 2^64,
// long double beyond; stops early once it has left the double range.
class WholeProduct {
public:
    // value *= factor / divisor; while the product is exact the division is
    // too (binomial coefficients are whole at every step).
    void multiply(Wide factor, Wide divisor = 1) {
        if (exact_ && whole_ < (static_cast<Whole>(1) << 64) && factor < 0x1p53L) {
            whole_ = whole_ * static_cast<Whole>(factor) / static_cast<Whole>(divisor);
            return;
        }
        if (exact_) wide_ = static_cast<Wide>(whole_);
        exact_ = false;
        wide_ = wide_ * factor / divisor;
    }
    bool overflowed() const { return !exact_ && wide_ > 1e310L; }
    double value() const { return exact_ ? static_cast<double>(whole_) : static_cast<double>(wide_); }

private:
    bool exact_ = true;
    Whole whole_ = 1;
    Wide wide_ = 0;
};

// C(n, k) for whole n >= 0 and 0 <= k <= n, with k the smaller side.
double wholeBinomial(Wide n, Wide k) {
    if (n - k < k) k = n - k;
    WholeProduct p;
    for (Wide i = 1; i <= k && !p.overflowed(); i += 1) p.multiply(n - k + i, i);
    return p.overflowed() ? HUGE_VAL : p.value();
}

// n (n-1) ... (n-k+1) for whole n >= k >= 0.
double wholeFalling(Wide n, Wide k) {
    WholeProduct p;
    for (Wide i = 0; i < k && !p.overflowed(); i += 1) p.multiply(n - i);
    return p.overflowed() ? HUGE_VAL : p.value();
}

// The product over i = 1..k of (n - k + i) / i (binomial) or of (n - i + 1)
// (falling) for any complex n and a whole k >= 0.
Complex productOfFactors(Complex n, double k, bool binomial) {
    WideComplex v = 1.0L;
    const WideComplex w{n.re, n.im};
    for (double i = 1; i <= k; i += 1) {
        v *= binomial ? (w - static_cast<Wide>(k) + static_cast<Wide>(i)) / static_cast<Wide>(i)
                      : w - static_cast<Wide>(i) + 1.0L;
        if (v == 0.0L || !std::isfinite(std::abs(v))) break;
    }
    return {static_cast<double>(v.real()), static_cast<double>(v.imag())};
}

bool isPole(double x) { return x <= 0.0 && x == std::floor(x); }

constexpr double kPi = boost::math::constants::pi<double>();

// sin(pi x) for x below -2^30, where x has few fraction bits: exactly from
// the fraction and the parity of the floor.
double sinPiFar(double x) {
    const double whole = std::floor(x);
    const double sine = std::sin(kPi * (x - whole));
    return std::fmod(whole, 2.0) != 0.0 ? -sine : sine;
}

// ln |gamma(x)| and its sign. Boost's reflection for negative x casts
// floor(-x) to int, which overflows below -2^31; there the reflection
// gamma(x) = pi / (sin(pi x) gamma(1 - x)) is taken here.
double lnGammaSigned(double x, int& sign) {
    if (x >= -0x1p30 || x == std::floor(x)) return boost::math::lgamma(x, &sign, QuietMathPolicy());
    const double sine = sinPiFar(x);
    sign = sine < 0.0 ? -1 : 1;
    return std::log(kPi / std::fabs(sine)) - boost::math::lgamma(1.0 - x, QuietMathPolicy());
}

// gamma(x) / gamma(y) without forming either, for large x and y of one
// sign (their logarithms would cancel most digits): Boost's ratio, through
// the reflection formula for negative arguments. NaN where it does not
// apply.
double gammaRatio(double x, double y) {
    if (x > 0.0 && y > 0.0) return boost::math::tgamma_ratio(x, y, QuietMathPolicy());
    if (x < -0x1p30 && y < -0x1p30 && x != std::floor(x) && y != std::floor(y))
        return sinPiFar(y) / sinPiFar(x) * boost::math::tgamma_ratio(1.0 - y, 1.0 - x, QuietMathPolicy());
    return std::nan("");
}

// gamma(a) / (gamma(b) gamma(c)) for real a, b, c: the plain quotient where
// every gamma is finite, 0 where only the divisor has a pole; where a
// factorial alone leaves the double range, the ratio of a and the nearer
// of b and c over the other gamma, else sign and logarithm.
double realGammaQuotient(double a, double b, double c) {
    if ((isPole(b) || isPole(c)) && !isPole(a)) return 0.0;
    const double ga = cxGamma({a, 0.0}).re, gb = cxGamma({b, 0.0}).re, gc = cxGamma({c, 0.0}).re;
    if (std::isfinite(ga) && std::isfinite(gb) && std::isfinite(gc) && gb != 0.0 && gc != 0.0) return ga / gb / gc;
    const bool bNearer = std::fabs(a - b) <= std::fabs(a - c);
    const double ratio = gammaRatio(a, bNearer ? b : c), rest = bNearer ? gc : gb;
    // A NaN ratio, or a factor out of range, leaves no finite non-zero quotient.
    const double quotient = ratio / rest;
    if (std::isfinite(quotient) && quotient != 0.0) return quotient;
    int sa = 1, sb = 1, sc = 1;
    const double la = lnGammaSigned(a, sa);
    const double lb = lnGammaSigned(b, sb);
    const double lc = lnGammaSigned(c, sc);
    return sa * sb * sc * std::exp(la - lb - lc);
}

Complex complexGammaQuotient(Complex a, Complex b, Complex c) {
    return cxDivide(cxDivide(cxGamma(a), cxGamma(b)), cxGamma(c));
}

const Complex kOne{1.0, 0.0};

}  // namespace

Complex binomialCoefficient(Complex n, Complex k) {
    if (isWholeReal(k)) {
        if (k.re < 0.0) return {0.0, 0.0};
        if (isWholeReal(n)) {
            if (n.re >= 0.0) return {k.re > n.re ? 0.0 : wholeBinomial(n.re, k.re), 0.0};
            // C(-m, k) = (-1)^k C(m + k - 1, k)
            const double magnitude = wholeBinomial(static_cast<Wide>(k.re) - n.re - 1, k.re);
            return {std::fmod(k.re, 2.0) == 0.0 ? magnitude : -magnitude, 0.0};
        }
        if (k.re <= kMaxFactors) return productOfFactors(n, k.re, true);
    }
    const Complex a = cxAdd(n, kOne), b = cxAdd(cxSubtract(n, k), kOne), c = cxAdd(k, kOne);
    if (n.im == 0.0 && k.im == 0.0) return {realGammaQuotient(a.re, b.re, c.re), 0.0};
    return complexGammaQuotient(a, b, c);
}

Complex fallingFactorial(Complex n, Complex k) {
    if (isWholeReal(k) && k.re >= 0.0) {
        if (isWholeReal(n) && n.re >= 0.0) return {k.re > n.re ? 0.0 : wholeFalling(n.re, k.re), 0.0};
        if (isWholeReal(n)) {
            // (-m)(-m-1)...(-m-k+1) = (-1)^k m (m+1) ... (m+k-1)
            const double magnitude = wholeFalling(static_cast<Wide>(k.re) - n.re - 1, k.re);
            return {std::fmod(k.re, 2.0) == 0.0 ? magnitude : -magnitude, 0.0};
        }
        if (k.re <= kMaxFactors) return productOfFactors(n, k.re, false);
    }
    const Complex a = cxAdd(n, kOne), b = cxAdd(cxSubtract(n, k), kOne);
    if (n.im == 0.0 && k.im == 0.0) return {realGammaQuotient(a.re, b.re, 1.0), 0.0};
    return complexGammaQuotient(a, b, kOne);
}

}  // namespace vx
