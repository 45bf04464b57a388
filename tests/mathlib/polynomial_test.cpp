// Polynomial built-ins: roots, Kronecker factorisation, arithmetic, texts.
#include <gtest/gtest.h>

#include <cmath>

#include "mathlib/polynomial.h"
#include "tests/mathlib/numeric_session.h"

namespace vx {
namespace {

using test::NumericSession;

using test::expectShown;

Poly realPoly(std::initializer_list<double> coefficients) {
    Poly p;
    for (double c : coefficients) p.push_back(Complex{c, 0.0});
    return p;
}

// |p(z)| relative to the size of its terms: 0 at an exact root, about the
// rounding error for a root found in double precision.
double relativeResidual(const Poly& p, Complex z) {
    Complex f{0.0, 0.0};
    double size = 0.0;
    for (const Complex& c : p) {
        f = cxAdd(cxMultiply(f, z), c);
        size = size * cxModulus(z) + cxModulus(c);
    }
    return cxModulus(f) / size;
}

void expectRootsOf(const Poly& p, const char* what) {
    std::atomic<int> never{0};
    Poly roots;
    ASSERT_EQ(polyRoots(p, roots, never), RootStatus::Ok) << what;
    ASSERT_EQ(roots.size(), p.size() - 1) << what;
    for (const Complex& r : roots) EXPECT_LT(relativeResidual(p, r), 1e-9) << what << " at " << r.re << "+" << r.im << "i";
}

TEST(PolyRoots, ExamplesAndMessages) {
    NumericSession s;
    expectShown(s, {
        {"polyroots({1,-3,2})", "{2,1}"}, {"polyroots({0,0,2,4})", "{-2}"}, {"polyroots({1,0,1})", "{1i,-1i}"},
        {"polyroots({1,-6,11,-6})", "{1,3,2}"}, {"polyroots({2,-4})", "{2}"},
        {"polyroots({5})", "(polyroots) Error: Constant Polynomial"},
        {"polyroots({0,3})", "(polyroots) Error: Constant Polynomial"},
        {"polyroots({1,2},{3})", "(polyroots) Error: Syntax"}, {"polyroots(1)", "(polyroots) Error: Data Type"},
        // Flat at 1 after deflating the root -1: the search goes on from i.
        {"chop(polyroots({1,-1,-1,-1,-2}))", "{-1,1i,2,-1i}"},
        // Divisors whose squared modulus underflows are not zero.
        {"polyroots({1e-300,1})", "{-1E+300}"}, {"polyroots({1e-160,2e-160})", "{-2}"},
    });
}

TEST(PolyRoots, SucceedWhereTheResidualCannotReachTheTolerance) {
    expectRootsOf(realPoly({1, -36, 546, -4536, 22449, -67284, 118124, -109584, 40320}), "(x-1)...(x-8)");
    expectRootsOf(realPoly({1, -1, -1, -1, -2}), "flat start");
    expectRootsOf(realPoly({1, -2, 1, -2}), "flat at 1");
    expectRootsOf(realPoly({1, 0, -2, 2}), "Newton cycles between 0 and 1");
    // Degree 8 with coefficients near 1e4, and degree 20.
    std::uint32_t state = 12345;
    for (int trial = 0; trial < 40; ++trial) {
        Poly p;
        for (int k = 0; k <= 8; ++k) {
            state = state * 214013u + 2531011u;
            p.push_back(Complex{1e4 + static_cast<double>((state >> 16) % 2001) - 1000.0, 0.0});
        }
        expectRootsOf(p, "near 1e4");
    }
    Poly twenty;
    for (int k = 1; k <= 21; ++k) twenty.push_back(Complex{static_cast<double>(k), 0.0});
    expectRootsOf(twenty, "degree 20");
}

TEST(PolyRoots, AbortedSearch) {
    std::atomic<int> aborted{1};
    Poly roots;
    EXPECT_EQ(polyRoots(realPoly({1, 0, 0, 5}), roots, aborted), RootStatus::Aborted);
    // Linear and quadratic polynomials need no search.
    EXPECT_EQ(polyRoots(realPoly({1, 0, 5}), roots, aborted), RootStatus::Ok);
}

TEST(PolyFactor, KroneckerTexts) {
    NumericSession s;
    s.engine.stores.createListVariable("nothing", {}, 0);
    expectShown(s, {
        {"polyfactor({1,1,-2})", "({1,-1})({1,2})"}, {"polyfactor({0,0,0})", "({0})"}, {"polyfactor(nothing)", "({0})"},
        {"polyfactor({1,0,0,0,4})", "({1,-2,2})({1,2,2})"}, {"polyfactor({1,-1,0,0})", "({1,0,0})({1,-1})"},
        {"polyfactor(2)", "(polyfactor) Error: Data Type"},
    });
}

TEST(PolyFactor, CandidateListsStopAt50AndAbort) {
    // p(1) = 720720 has 240 divisors; only 50 candidates are kept and the
    // search still ends.
    std::atomic<int> never{0};
    std::string text;
    ASSERT_TRUE(polyFactorText(realPoly({1, 720719}), text, never));
    EXPECT_EQ(text, "({1,720719})");
    ASSERT_TRUE(polyFactorText(realPoly({1, 0, 720719}), text, never));
    EXPECT_EQ(text, "({1,0,720719})");
    std::atomic<int> aborted{1};
    EXPECT_FALSE(polyFactorText(realPoly({1, 0, 1}), text, aborted));
    NumericSession s;
    EXPECT_EQ(s.showWithAbort("polyfactor({1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1})", std::chrono::milliseconds(10)),
              "Error: Operation Aborted");
}

TEST(PolyText, LongTextsArePrintedWhole) {
    NumericSession s;
    std::string zeros, quotient = "{1";
    for (int k = 0; k < 400; ++k) zeros += ",0";
    for (int k = 1; k < 400; ++k) quotient += k % 2 ? ",-1" : ",1";  // x^400 / (x+1)
    quotient += "}";
    EXPECT_EQ(s.submitted("polyfactor({1" + zeros + "})"), ">  ({1" + zeros + "})\r\n");
    EXPECT_EQ(s.submitted("polydiv({1" + zeros + "},{1,1})"), ">  " + quotient + " R {1}\r\n");
    EXPECT_EQ(s.submitted("polydiv({1,0,1},{1,1})\n1+1"), ">  {1,-1} R {2}\r\n>  2\r\n");
}

TEST(PolyArithmetic, DivisionInterpolationPowers) {
    NumericSession s;
    expectShown(s, {
        {"polydiv({1,0,1},{1,1})", "{1,-1} R {2}"}, {"polydiv({1,1},{0,1})", "Error: Division by Zero"},
        {"polyadd({1},[1])", "(polyadd) Error: Data Type"}, {"polypower({2,i},1)", "{2,1i}"},
        {"polypower(q,-1)", "(polypower) Error: Negative Argument"},  // the exponent is read first
        {"polyinterp({1,1},q)", "(polyinterp) Error: X-Values Must Be Unique"},  // before ys
    });
    // q b + r = a for a division with complex coefficients.
    const Poly a{{1, 2}, {3, 0}, {0, -1}, {5, 5}}, b{{2, 0}, {0, 1}};
    Poly q, r;
    polyDivide(a, b, q, r);
    const Poly back = polySum(polyProduct(q, b), r);
    ASSERT_EQ(back.size(), a.size());
    for (size_t k = 0; k < a.size(); ++k) {
        EXPECT_NEAR(back[k].re, a[k].re, 1e-14);
        EXPECT_NEAR(back[k].im, a[k].im, 1e-14);
    }
    EXPECT_THROW(polyDivide(a, Poly{}, q, r), DivisionByZero);
}

}  // namespace
}  // namespace vx
