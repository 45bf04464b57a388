// limit, int, diff and solve.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/mathlib/numeric_session.h"

namespace vx {
namespace {

using test::NumericSession;

struct NearCase {
    const char* statement;
    double re, im, tolerance;
};

void expectNear(NumericSession& s, std::initializer_list<NearCase> cases) {
    for (const auto& c : cases) {
        Value v;
        ASSERT_EQ(s.evaluate(c.statement, v), kComplex) << c.statement << ": " << s.error.text();
        EXPECT_NEAR(v.z.re, c.re, c.tolerance) << c.statement;
        EXPECT_NEAR(v.z.im, c.im, c.tolerance) << c.statement;
    }
}

using test::expectShown;

const double kPi = 4.0 * std::atan(1.0);

TEST(Limit, AsymmetricOffsets) {
    NumericSession s;
    expectNear(s, {
        {"limit(sin(x)/x,x,0)", 1.0, 0.0, 1e-14},
        {"limit(x,x,2)", 2.0 + (1.074328e-07 - 1.087313e-07) / 2, 0.0, 1e-16},
        {"limit(x,x,2+3i)", 2.0 + (1.074328e-07 - 1.087313e-07) / 2, 3.0, 1e-15},
    });
    expectShown(s, {{"limit(x,x,{1})", "(limit) Error: Data Type"}, {"limit({x},x,1)", "(limit) Error: Data Type"},
                    {"limit(x,x)", "(limit) Error: Syntax"}, {"limit(x,2,1)", "(limit) Error: Syntax"}});
}

TEST(Integral, TanhSinhOnSegments) {
    NumericSession s;
    expectNear(s, {
        {"int(x^2,x,0,1)", 1.0 / 3.0, 0.0, 1e-15},
        {"int(1,x,0,i)", 0.0, 1.0, 1e-15},
        {"int(x,x,1,1+i)", -0.5, 1.0, 1e-14},  // (1+i)^2/2 - 1/2
        // 101 nodes leave this one 7.5e-11 short of sqrt(pi) erf(3).
        {"int(exp(-x^2),x,-3,3)", 1.772414696593699, 0.0, 1e-14},
        {"int(1/sqrt(x),x,0,1)", 2.0, 0.0, 1e-6},  // endpoint singularity, never sampled
        {"int(x^2,x,1,0)", -1.0 / 3.0, 0.0, 1e-15},
        {"int(1,x,0,1,{2})", 1.0, 0.0, 1e-14},  // a non-number count keeps 50 steps
        {"erf(1)", std::erf(1.0), 0.0, 1e-14},
        {"erf(0.5)", std::erf(0.5), 0.0, 1e-14},
    });
}

TEST(Integral, NodeCountAndFailures) {
    NumericSession s;
    // N = 10: 21 nodes at t = -5, -4.5, ..., 5; the four from t = 3.5 on
    // are exactly 1 in double precision and are not sampled.
    s.submitted("newfunc(counted,t,seq(new(calls,calls+1),1))\nnew(calls,0)");
    expectNear(s, {{"int(counted(x),x,0,1,10)", 1.0, 0.0, 1e-5}});
    expectNear(s, {{"calls", 17.0, 0.0, 0.0}});
    expectShown(s, {
        {"int(1,x,0,1,0)", "(int) Error: Syntax"}, {"int(1,x,0,1,-2)", "(int) Error: Syntax"},
        {"int(1,x,0,1,0.5)", "(int) Error: Syntax"}, {"int(1,x,0,1,1,2)", "(int) Error: Syntax"},
        {"int(1,x,0)", "(int) Error: Syntax"}, {"int(1,x,{0},1)", "(int) Error: Data Type"},
        {"int(1,x,0,[1])", "(int) Error: Data Type"},
        // The integrand's own failure at a node, not a stale value.
        {"int({x},x,0,1)", "(int) Error: Data Type"}, {"int(1/x,x,-1,1)", "Error: Division by Zero"},
        {"int(q,x,0,1)", "Error: Unknown Variable 'q'"}, {"int(if(x<0.5,1,{1}),x,0,1)", "(int) Error: Data Type"},
    });
}

TEST(Integral, AbortedFromAnotherThread) {
    NumericSession s;
    EXPECT_EQ(s.showWithAbort("int(x,x,0,1,100000000)", std::chrono::milliseconds(20)), "Error: Operation Aborted");
    // The loop variable was popped on the way out.
    EXPECT_EQ(s.show("x"), "Error: Unknown Variable 'x'");
}

TEST(Derivative, ScalarListAndMatrixPoints) {
    NumericSession s;
    expectNear(s, {{"diff(x^2,x,3)", 6.0, 0.0, 1e-9}, {"diff(exp(x),x,i)", std::cos(1.0), std::sin(1.0), 1e-9}});
    Value v;
    ASSERT_EQ(s.evaluate("diff(x^2,x,{1,2})", v), kList);
    ASSERT_EQ(v.count(), 2);
    EXPECT_NEAR(v.elements[0].re, 2.0, 1e-9);
    EXPECT_NEAR(v.elements[1].re, 4.0, 1e-9);
    ASSERT_EQ(s.evaluate("diff(3*x+1,x,[1,2][3,4])", v), kMatrix);
    EXPECT_EQ(v.columns, 2);
    EXPECT_EQ(v.rows, 2);
    for (const Complex& c : v.elements) EXPECT_NEAR(c.re, 3.0, 1e-9);
    expectShown(s, {
        {"diff(x,x)", "(diff) Error: Syntax"}, {"diff(x,2,1)", "(diff) Error: Syntax"},
        {"diff({x},x,1)", "(diff) Data Type"}, {"diff(1,x,{1,2})", "(diff) Data Type"},
        // Results shorter than the point.
        {"diff({1},x,{1,2})", "(diff) Data Type"}, {"diff([1],x,[1,2])", "(diff) Data Type"},
        {"diff(q,x,1)", "Error: Unknown Variable 'q'"},
    });
}

TEST(Solve, NewtonWithNumericDerivative) {
    NumericSession s;
    expectNear(s, {
        {"solve(x^2-2,x,1)", std::sqrt(2.0), 0.0, 1e-15},
        {"solve(x^2+1,x,1+i)", 0.0, 1.0, 1e-12},
        {"solve(x-5,x,0)", 5.0, 0.0, 1e-12},
        {"solve(cos(x)-x,x,1)", 0.7390851332151607, 0.0, 1e-15},
        {"solve(x^3-1000000,x,50)", 100.0, 0.0, 1e-12},
        {"solve(1e-200*(x-3),x,1)", 3.0, 0.0, 1e-12},  // f1 - f2 = 2e-205 is not 0
    });
    EXPECT_EQ(s.show("solve(x^2-2,x,1)"), "1.41421356237");
    expectShown(s, {
        {"solve(x^2+2,x,3)", "(solve) Error: Unable to converge"},
        {"solve({x},x,1)", "(solve) Data Type"}, {"solve(x,x,{1})", "(solve) Error: Data Type"},
        {"solve(x,x)", "(solve) Error: Syntax"}, {"solve(5,x,1)", "Error: Division by Zero"},
        {"solve(q,x,1)", "Error: Unknown Variable 'q'"},
    });
}

}  // namespace
}  // namespace vx
