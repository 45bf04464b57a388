#pragma once
// The integer algorithms behind the number-theory built-ins, on plain
// numbers so that they can be used and tested without an engine.
#include <atomic>
#include <cstdint>
#include <vector>

namespace vx {

// Euclid on 32-bit integers; the result is the last non-zero divisor and may
// be negative (gcd(4, -6) is -2). gcd(a, 0) is a.
std::int64_t gcd32(std::int32_t a, std::int32_t b);

// The linear congruential generator behind rand.
struct RandomGenerator {
    std::uint32_t state = 0;
    // 0 .. 32767
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

// Prime factors of n by trial division, ascending with multiplicity, -1
// first for a negative n; {0} for 0, {1} for 1. A value that is not a
// finite integer is returned as it is. False when aborted.
bool factorInteger(double n, std::vector<double>& factors, const std::atomic<int>& abortFlag);

// a^e reduced by m with the sign of a^e (a truncating remainder), exact for
// every m below 2^64; 1 for e <= 0, NaN for m = 0.
double powerMod(double a, double e, double m);

// Terms of the continued fraction of x, at most n of them; ends early after
// a term that leaves no remainder. False when aborted.
bool continuedFractionTerms(double x, std::int64_t n, std::vector<double>& terms, const std::atomic<int>& abortFlag);

// Terms of the continued fraction of a/b by Euclid's algorithm; false when b
// is 0 or more than `maxTerms` terms would be needed.
bool rationalContinuedFraction(double a, double b, std::vector<double>& terms, size_t maxTerms);

}  // namespace vx
