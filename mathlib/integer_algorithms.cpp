#include "mathlib/integer_algorithms.h"

#include <cmath>

namespace vx {

std::int64_t gcd32(std::int32_t a32, std::int32_t b32) {
    // 64-bit remainders: INT32_MIN % -1 is fine there.
    std::int64_t a = a32, b = b32;
    while (b != 0) {
        const std::int64_t r = a % b;
        if (r == 0) return b;
        a = b;
        b = r;
    }
    return a;
}

namespace {

// The smallest divisor of n (> 3, integral) up to sqrt(n), 0 when n is
// prime, -1 when aborted. Candidates are 2, 3, then 5, 7, 11, 13, 17, ...:
// the odd numbers without the odd multiples of 3.
double smallestDivisor(double n, const std::atomic<int>& abortFlag) {
    if (std::fmod(n, 2.0) == 0.0) return 2.0;
    if (std::fmod(n, 3.0) == 0.0) return 3.0;
    // Every double from 2^53 on is even, so n is an exact 64-bit integer
    // here and the remainders can be taken in integers.
    const auto m = static_cast<std::uint64_t>(n);
    const double limit = std::sqrt(n);
    for (std::uint64_t d = 5, step = 2; static_cast<double>(d) <= limit; d += step, step = 6 - step) {
        if (abortFlag.load(std::memory_order_relaxed)) return -1.0;
        if (m % d == 0) return static_cast<double>(d);
    }
    return 0.0;
}

// Appends the prime factors of n > 0; each factor found restarts the
// search on the cofactor.
bool factorCofactor(double n, std::vector<double>& factors, const std::atomic<int>& abortFlag) {
    for (;;) {
        if (n <= 3.0) {
            factors.push_back(n);
            return true;
        }
        const double divisor = smallestDivisor(n, abortFlag);
        if (divisor < 0.0) return false;
        if (divisor == 0.0) {
            factors.push_back(n);
            return true;
        }
        factors.push_back(divisor);
        n /= divisor;
    }
}

__extension__ typedef unsigned __int128 Wide;

std::uint64_t mulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
    return static_cast<std::uint64_t>(static_cast<Wide>(a) * b % m);
}

constexpr double kTwo64 = 18446744073709551616.0;

}  // namespace

bool factorInteger(double n, std::vector<double>& factors, const std::atomic<int>& abortFlag) {
    factors.clear();
    if (n == 0.0 || !std::isfinite(n) || std::trunc(n) != n) {
        factors.push_back(n);
        return true;
    }
    if (n < 0.0) {
        factors.push_back(-1.0);
        n = -n;
    }
    if (!factorCofactor(n, factors, abortFlag)) {
        factors.clear();
        return false;
    }
    return true;
}

double powerMod(double a, double e, double m) {
    if (e <= 0.0) return 1.0;
    if (m == 0.0) return std::nan("");
    const double modulus = std::fabs(m);
    const bool negative = a < 0.0 && std::fmod(e, 2.0) != 0.0;
    // fmod is exact, so reducing the base first loses nothing.
    const double base = std::fmod(std::fabs(a), modulus);
    double result;
    if (modulus < kTwo64) {
        const auto mod = static_cast<std::uint64_t>(modulus);
        std::uint64_t b = static_cast<std::uint64_t>(base), r = 1 % mod;
        for (double k = e; k > 0.0; k = std::floor(k / 2.0)) {
            if (std::fmod(k, 2.0) != 0.0) r = mulMod(r, b, mod);
            b = mulMod(b, b, mod);
        }
        result = static_cast<double>(r);
    } else {
        // Beyond 64 bits the products are doubles: exact while they stay
        // below 2^53, as in a plain running product.
        double b = base, r = 1.0;
        for (double k = e; k > 0.0; k = std::floor(k / 2.0)) {
            if (std::fmod(k, 2.0) != 0.0) r = std::fmod(r * b, modulus);
            b = std::fmod(b * b, modulus);
        }
        result = r;
    }
    return negative ? -result : result;
}

bool continuedFractionTerms(double x, std::int64_t n, std::vector<double>& terms, const std::atomic<int>& abortFlag) {
    terms.clear();
    double t = x;
    for (std::int64_t j = 0; j < n; ++j) {
        if (abortFlag.load(std::memory_order_relaxed)) return false;
        const double q = std::trunc(t);
        terms.push_back(q);
        const double rest = t - q;
        // Nothing is left to expand (or no finite remainder exists).
        if (rest == 0.0 || !std::isfinite(rest)) break;
        t = 1.0 / rest;
    }
    return true;
}

bool rationalContinuedFraction(double a, double b, std::vector<double>& terms, size_t maxTerms) {
    terms.clear();
    if (b == 0.0) return false;
    for (;;) {
        if (terms.size() >= maxTerms) return false;
        const double q = std::floor(a / b);
        terms.push_back(q);
        const double r = a - b * q;
        a = b;
        b = r;
        if (b == 0.0) return true;
        if (b == 1.0) break;
    }
    if (terms.size() >= maxTerms) return false;
    terms.push_back(a);
    return true;
}

}  // namespace vx
