// Factorisation by Kronecker's method: a factor of degree m - 1 is the
// interpolating polynomial through values that divide p(1), ..., p(m). The
// factors are written as text as they are found.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "mathlib/complex.h"
#include "mathlib/polynomial.h"

namespace vx {
namespace {

constexpr size_t kMaxCandidates = 50;

bool isZero(Complex c) { return c.re == 0.0 && c.im == 0.0; }

// |p(x)| truncated, in single precision on the real parts of p.
float sampleValue(const Poly& p, int x) {
    const size_t n = p.size();
    float sum = 0.0f;
    for (size_t k = 0; k < n; ++k) {
        const float c = static_cast<float>(p[k].re);
        if (c == 0.0f) continue;
        sum += c * static_cast<float>(std::pow(static_cast<double>(x), static_cast<double>(n - 1 - k)));
    }
    return std::trunc(std::fabs(sum));
}

// k and -k for every k in 1 .. v/2 + 1 that divides v, at most 50 values.
// A value beyond the float range has no usable divisors.
bool candidateValues(float v, std::vector<double>& out, const std::atomic<int>& abortFlag) {
    out.clear();
    if (!std::isfinite(v)) return true;
    const double last = std::floor(static_cast<double>(v) / 2.0) + 1.0;
    for (double k = 1.0; k <= last && out.size() < kMaxCandidates; k += 1.0) {
        if (std::fmod(k, 65536.0) == 0.0 && abortFlag.load(std::memory_order_relaxed)) return false;
        const float q = v / static_cast<float>(k);
        if (q != std::floor(q)) continue;
        out.push_back(k);
        if (out.size() < kMaxCandidates) out.push_back(-k);
    }
    return true;
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) on "(" + text at -O3.
std::string enclosed(const Poly& p) {
    std::string text = "(";
    text += polyText(p);
    text += ')';
    return text;
}

// Real whole coefficients that a double holds exactly.
bool hasIntegerCoefficients(const Poly& p) {
    return std::all_of(p.begin(), p.end(), [](Complex c) {
        return c.im == 0.0 && c.re == std::floor(c.re) && std::fabs(c.re) < 0x1p53;
    });
}

// An interpolated factor of an integer polynomial has rational coefficients
// whose denominators divide (m-1)! (m sample points at 1 .. m); scaled by
// that, rounded and divided by the content, it becomes the primitive integer
// factor ({0.5,0.5,1} of {1,1,4,2,4} is {1,1,2}). False, leaving both
// untouched, where that does not divide p exactly.
bool makePrimitive(const Poly& p, int m, Poly& factor, Poly& quotient) {
    double scale = 1.0;
    for (int k = 2; k < m; ++k) scale *= k;
    Poly whole(factor.size());
    double content = 0.0;
    for (size_t k = 0; k < factor.size(); ++k) {
        const double v = factor[k].re * scale, r = std::nearbyint(v);
        if (factor[k].im != 0.0 || !(std::fabs(v - r) <= 1e-6 * std::max(1.0, std::fabs(v))) || std::fabs(r) >= 0x1p53)
            return false;
        whole[k] = Complex{r, 0.0};
        content = std::gcd(static_cast<std::int64_t>(content), static_cast<std::int64_t>(r));
    }
    if (content == 0.0) return false;
    for (Complex& c : whole) c.re /= content;
    Poly q, remainder;
    polyDivide(p, whole, q, remainder);
    if (!isZeroPoly(remainder)) return false;
    factor = std::move(whole);
    quotient = std::move(q);
    return true;
}

enum class Step { Found, NotFound, Aborted };

// Searches for a factor of degree m - 1 of p (no trailing zeros, no root
// among 1 .. m); on success `factor` and `quotient` are set.
Step kroneckerStep(const Poly& p, int m, Poly& factor, Poly& quotient, const std::atomic<int>& abortFlag) {
    Poly points(static_cast<size_t>(m));
    std::vector<std::vector<double>> candidates(static_cast<size_t>(m));
    std::uint64_t base = 0;
    for (int i = 0; i < m; ++i) {
        points[static_cast<size_t>(i)] = Complex{static_cast<double>(i + 1), 0.0};
        if (!candidateValues(sampleValue(p, i + 1), candidates[static_cast<size_t>(i)], abortFlag))
            return Step::Aborted;
        base = std::max<std::uint64_t>(base, candidates[static_cast<size_t>(i)].size());
    }
    if (base == 0) return Step::NotFound;
    // base^m combinations, saturating: beyond 2^62 only the abort ends it.
    std::uint64_t total = 1;
    for (int i = 0; i < m && total < (std::uint64_t{1} << 62); ++i) total *= base;

    Poly values(static_cast<size_t>(m)), remainder;
    for (std::uint64_t t = 0; t < total; ++t) {
        if ((t & 1023) == 0 && abortFlag.load(std::memory_order_relaxed)) return Step::Aborted;
        std::uint64_t rest = t;
        bool usable = true, allEqual = true;
        for (int i = 0; i < m; ++i) {
            const std::uint64_t digit = rest % base;
            rest /= base;
            const auto& list = candidates[static_cast<size_t>(i)];
            if (digit >= list.size()) {
                usable = false;
                break;
            }
            values[static_cast<size_t>(i)] = Complex{list[digit], 0.0};
            if (i > 0 && values[static_cast<size_t>(i)].re != values[0].re) allEqual = false;
        }
        if (!usable || allEqual) continue;
        Poly g = polyInterpolate(points, values);
        if (isZero(g[0])) continue;
        polyDivide(p, g, quotient, remainder);
        if (isZeroPoly(remainder)) {
            factor = std::move(g);
            return Step::Found;
        }
    }
    return Step::NotFound;
}

}  // namespace

bool polyFactorText(const Poly& input, std::string& text, const std::atomic<int>& abortFlag) {
    text.clear();
    if (isZeroPoly(input)) {
        text = "({0})";
        return true;
    }
    Poly p = input;
    int m = 2;
    for (;;) {
        if (abortFlag.load(std::memory_order_relaxed)) return false;
        const size_t n = p.size();
        if (static_cast<size_t>(m) > (n + 1) / 2) {
            text += enclosed(p);
            return true;
        }
        size_t zeros = 0;
        while (zeros < n && isZero(p[n - 1 - zeros])) ++zeros;
        if (zeros == n - 1) {
            text += enclosed(p);
            return true;
        }
        Poly quotient, remainder;
        if (zeros > 0) {
            Poly power(zeros + 1, Complex{0.0, 0.0});
            power[0] = Complex{1.0, 0.0};
            text += enclosed(power);
            polyDivide(p, power, quotient, remainder);
            p = std::move(quotient);
            continue;
        }
        bool rootFound = false;
        for (int x = 1; x <= m && !rootFound; ++x) {
            if (sampleValue(p, x) != 0.0f) continue;
            const Poly linear{Complex{1.0, 0.0}, Complex{-static_cast<double>(x), 0.0}};
            text += enclosed(linear);
            polyDivide(p, linear, quotient, remainder);
            p = std::move(quotient);
            rootFound = true;
        }
        if (rootFound) continue;
        Poly factor;
        switch (kroneckerStep(p, m, factor, quotient, abortFlag)) {
            case Step::Aborted: return false;
            case Step::Found:
                if (hasIntegerCoefficients(p)) makePrimitive(p, m, factor, quotient);
                text += enclosed(factor);
                p = std::move(quotient);
                break;
            case Step::NotFound: ++m; break;
        }
    }
}

}  // namespace vx
