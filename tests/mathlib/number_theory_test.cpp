// gcd, rand, mod, factor, powermod, round, contfrac and contfracr.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "mathlib/integer_algorithms.h"
#include "mathlib/number_theory.h"
#include "mathlib/numeric_args.h"
#include "tests/mathlib/numeric_session.h"

namespace vx {
namespace {

using test::NumericSession;

using test::expectShown;

TEST(Gcd, EuclidOnTruncated32BitIntegers) {
    struct Row { std::int32_t a, b; std::int64_t gcd; };
    const Row rows[] = {
        {6, 4, 2}, {4, -6, -2}, {-4, 6, 2}, {0, 5, 5}, {5, 0, 5}, {0, 0, 0}, {-7, 0, -7},
        {INT32_MIN, -1, -1}, {-1, INT32_MIN, -1}, {INT32_MIN, INT32_MIN, INT32_MIN}, {INT32_MIN, 0, INT32_MIN},
    };
    for (const auto& r : rows) EXPECT_EQ(gcd32(r.a, r.b), r.gcd) << r.a << "," << r.b;
}

TEST(Gcd, ConversionOfAnyDoubleKeepsTheLow32Bits) {
    struct Row { double x; std::int32_t low; };
    const Row rows[] = {
        {5.0, 5}, {-5.0, -5}, {2.9, 2}, {-2.9, -2}, {4294967308.0, 12}, {2147483648.0, INT32_MIN},
        {-2147483649.0, INT32_MAX}, {1e300, 0}, {-1e300, 0}, {9223372036854775808.0, 0},
        {std::numeric_limits<double>::infinity(), 0}, {std::nan(""), 0}, {0x1p60 + 0x1p40 + 7.0 * 0x1p8, 7 * 256},
    };
    for (const auto& r : rows) EXPECT_EQ(lowInt32(r.x), r.low) << r.x;
}

TEST(Gcd, BuiltinAndLcm) {
    NumericSession s;
    expectShown(s, {
        {"gcd(5,0)", "5"}, {"gcd(-2147483648,-1)", "-1"}, {"gcd(1e300,1e300)", "0"},
        {"gcd(2.5,1)", "(gcd) Error: Non-Integral Argument"}, {"gcd(1,2i)", "(gcd) Error: Complex Argument"},
        {"gcd([1],2)", "(gcd) Error: Data Type"}, {"gcd(1,2,3)", "(gcd) Error: Syntax"},
        {"gcd(q,2)", "Error: Unknown Variable 'q'"}, {"lcm(4,6)", "12"}, {"lcm(21,6)", "42"},
    });
}

TEST(Rand, FirstDrawAfterStartUpAndRanges) {
    NumericSession s;
    EXPECT_EQ(s.show("rand(100)"), "38");
    RandomGenerator g;
    EXPECT_EQ(g.next(), 38);
    EXPECT_EQ(g.next(), 7719);  // state 2531011 * 214013 + 2531011
    for (int k = 0; k < 50; ++k) {
        Value v;
        ASSERT_EQ(s.evaluate("rand(-10)", v), kComplex);
        EXPECT_TRUE(v.z.re <= 0.0 && v.z.re > -10.0) << v.z.re;
        ASSERT_EQ(s.evaluate("rand(2147483648)", v), kComplex);  // INT32_MIN, negated in 64 bits
        EXPECT_TRUE(v.z.re <= 0.0 && v.z.re > -32768.0) << v.z.re;
    }
    expectShown(s, {{"rand(1)", "0"}, {"rand(0)", "0"}, {"rand(-1)", "0"}, {"rand(1e300)", "0"},
                    {"rand(2i)", "(rand) Error: Complex Argument"}});
    // Each engine keeps its own seed.
    NumericSession fresh;
    EXPECT_EQ(fresh.show("rand(100)"), "38");
}

TEST(Mod, RemainderWithTheSignOfTheDividend) {
    NumericSession s;
    expectShown(s, {{"mod(-7,3)", "-1"}, {"mod(7.5,2)", "1.5"}, {"mod(5,2.5)", "0"}, {"mod(7,-3)", "1"},
                    {"mod(1,2,3)", "(mod) Error: Syntax"}, {"mod(1+i,2)", "(mod) Error: Complex Argument"}});
}

TEST(Factor, PrimeFactorsInAscendingOrder) {
    NumericSession s;
    expectShown(s, {
        {"factor(12)", "{2,2,3}"}, {"factor(-12)", "{-1,2,2,3}"}, {"factor(1)", "{1}"}, {"factor(-1)", "{-1,1}"},
        {"factor(7)", "{7}"}, {"factor(0)", "{0}"}, {"factor(2)", "{2}"}, {"factor(-3)", "{-1,3}"},
        {"factor(49)", "{7,7}"}, {"factor(35)", "{5,7}"}, {"factor(2^52-1)", "{3,5,53,157,1613,2731,8191}"},
        {"factor(2.5)", "(factor) Error: Non-Integral Argument"}, {"factor(3+i)", "(factor) Error: Complex Argument"},
        {"factor({2})", "(factor) Error: Data Type"},
    });
    std::string twos = "{2";
    for (int k = 1; k < 60; ++k) twos += ",2";
    EXPECT_EQ(s.show("factor(-2^60)"), "{-1," + twos.substr(1) + "}");
}

TEST(Factor, LargestDoublePrimeAndHugeValues) {
    std::atomic<int> never{0};
    std::vector<double> f;
    ASSERT_TRUE(factorInteger(9007199254740881.0, f, never));  // 2^53 - 111, prime
    EXPECT_EQ(f, std::vector<double>{9007199254740881.0});
    ASSERT_TRUE(factorInteger(1e300, f, never));
    double product = 1.0;
    for (double d : f) product *= d;
    EXPECT_EQ(product, 1e300);
    EXPECT_EQ(f.back(), 762441707.0);
}

TEST(Factor, AbortedFromAnotherThread) {
    NumericSession s;
    EXPECT_EQ(s.showWithAbort("factor(9007199254740881)", std::chrono::milliseconds(10)), "Error: Operation Aborted");
    EXPECT_EQ(s.showWithAbort("factor(9007199254740881*2^40)", std::chrono::milliseconds(10)),
              "Error: Operation Aborted");
    EXPECT_EQ(s.show("factor(12)"), "{2,2,3}");  // the flag was cleared again
}

// The running product of the plain method, exact while it stays below 2^53.
double runningProductPowerMod(double a, double e, double m) {
    double r = 1.0;
    for (double k = 1; k <= e; ++k) r = std::fmod(r * a, m);
    return r;
}

TEST(PowerMod, AgreesWithTheRunningProductWhereThatIsExact) {
    const double bases[] = {0, 1, 2, 3, 7, -2, -3, 10, 99, -99};
    const double moduli[] = {1, 2, 3, 5, 7, 10, 97, 1000, -7, -1000};
    for (double a : bases)
        for (double m : moduli)
            for (double e = 1; e <= 12; ++e) {
                const double want = runningProductPowerMod(a, e, m);
                const double got = powerMod(a, e, m);
                EXPECT_EQ(got, want) << a << "^" << e << " mod " << m;
                EXPECT_EQ(std::signbit(got) && got != 0.0, std::signbit(want) && want != 0.0);
            }
}

TEST(PowerMod, ExactFor64BitArguments) {
    struct Row { double a, e, m, want; };
    const Row rows[] = {
        {2, 10, 1000, 24},
        {5, 0, 3, 1},
        {5, -4, 3, 1},
        {2, 10, 1, 0},
        {3, 1e15, 1000000007, 468606845},
        {3, 200, 1000000007, 136318165},
        {2, 64, 18446744073709549568.0, 2048},
        {123456789, 987654321, 18446744073709549568.0, static_cast<double>(3490960792530296405ULL)},
        {1e18, 1e18, 9223373136366403584.0, 647704707736797184.0},
        {7, 0x1p70, 1e19, static_cast<double>(8985786832676454401ULL)},
        {0x1p62, 3, 2305843010287435776.0, 2305843008139952128.0},
        {-3, 5, 1000, -243},
        {-3, 4, 1000, 81},
        {5, 3, -7, 6},
    };
    for (const auto& r : rows) EXPECT_EQ(powerMod(r.a, r.e, r.m), r.want) << r.a << "^" << r.e << " mod " << r.m;
    EXPECT_TRUE(std::isnan(powerMod(2, 3, 0)));
    NumericSession s;
    expectShown(s, {{"powermod(2,10,1000)", "24"}, {"powermod(3,10^15,10^9+7)", "468606845"},
                    {"powermod(2,3)", "(powermod) Error: Syntax"},
                    {"powermod(2,3,i)", "(powermod) Error: Complex Argument"},
                    {"powermod(2,0.5,3)", "(powermod) Error: Non-Integral Argument"}});
}

TEST(Round, HalfUpAndSignificantDigits) {
    NumericSession s;
    expectShown(s, {
        {"round(2.5)", "3"}, {"round(-2.5)", "-2"}, {"round(-1.5+2.5i)", "-1+3i"}, {"round({1.4,1.6})", "{1,2}"},
        {"round([1.4,1.6])", "[[1,2]]"}, {"round(3.14159,3)", "3.14"}, {"round(12345,2)", "12000"},
        {"round(3.14159+2i,2)", "3.1+2i"},
        // A negative part: its absolute value is rounded and the sign restored.
        {"round(-3.14159,3)", "-3.14"}, {"round(-314.5,3)", "-315"}, {"round(-2.5,1)", "-3"},
        {"round(2.5-2.5i,1)", "3+-3i"}, {"round({-0.0125,0},2)", "{-0.013,0}"},
        {"round(3.14159,1e300)", "3.14159"}, {"round(3.14159,-1e300)", "0"}, {"round(9e300,-2)", "0"},
        {"round(0.96,0)", "1"},
        {"round(1,2.5)", "(round) Error: Non-Integral Accuracy"}, {"round(1,2i)", "(round) Error: Complex Accuracy"},
        {"round(1,{1})", "(round) Error: Data Type"}, {"round(1,2,3)", "(round) Error: Syntax"},
    });
}

TEST(ContFrac, ValueOfAListAndTermsOfANumber) {
    NumericSession s;
    expectShown(s, {
        {"contfrac({1,2,2,2})", "1.41666666667"}, {"contfrac({3})", "3"}, {"contfrac(sqrt(2),4)", "{1,2,2,2}"},
        {"contfrac(-2.5,3)", "{-2,-2}"}, {"contfrac(0.5,5)", "{0,2}"}, {"contfrac(7,3)", "{7}"},
        {"contfrac(1e10,2)", "{10000000000}"}, {"contfrac(2,0)", "{}"},
        {"contfrac(2,-1)", "(contfrac) Error: Syntax"}, {"contfrac(2)", "(contfrac) Error: Syntax"},
        {"contfrac(2+i,2)", "(contfrac) Error: Complex Argument"}, {"contfrac([2],2)", "(contfrac) Error: Data Type"},
        {"contfrac(2,2.5)", "(contfrac) Error: Non-Integral Argument"},
        {"contfrac({1,0})", "Error: Division by Zero"},
    });
}

TEST(ContFrac, EmptyListIsASyntaxError) {
    NumericSession s;
    s.engine.stores.createListVariable("nothing", {}, 0);
    expectShown(s, {{"contfrac(nothing)", "(contfrac) Error: Syntax"},
                    {"contfracr(nothing)", "(contfracr) Error: Syntax"}});
}

TEST(ContFracR, FractionOfAListAndTermsOfARatio) {
    NumericSession s;
    expectShown(s, {
        {"contfracr({2,3})", "{7,3}"}, {"contfracr({1,2,3})", "{10,7}"}, {"contfracr(7,3)", "{2,3}"},
        {"contfracr(10,7)", "{1,2,3}"}, {"contfracr(4,2)", "{2}"}, {"contfracr(5,1)", "{5}"},
        {"contfracr(6,4)", "{1,2}"}, {"contfracr(7,-3)", "{-3,1,2}"}, {"contfracr(0,5)", "{0}"},
        {"contfracr(5,0)", "(contfracr) Error: Syntax"}, {"contfracr(5)", "(contfracr) Error: Syntax"},
        {"contfracr(5.5,2)", "(contfracr) Error: Non-Integral Argument"},
        {"contfracr(5,2i)", "(contfracr) Error: Complex Argument"},
    });
    // Consecutive Fibonacci numbers need the most terms for their size:
    // F(78)/F(77) = {1, 1, ..., 1, 2}.
    std::vector<double> terms;
    ASSERT_TRUE(rationalContinuedFraction(8944394323791464.0, 5527939700884757.0, terms, 1024));
    ASSERT_EQ(terms.size(), 76u);
    EXPECT_EQ(terms.back(), 2.0);
    for (size_t k = 0; k + 1 < terms.size(); ++k) EXPECT_EQ(terms[k], 1.0) << k;
    EXPECT_FALSE(rationalContinuedFraction(89, 55, terms, 8));  // eight 1s and a 2
    EXPECT_TRUE(rationalContinuedFraction(89, 55, terms, 9));
}

}  // namespace
}  // namespace vx
