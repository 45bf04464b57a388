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

// Values to far below the printed digits; the messages are pinned by
// tests/lang/calculus.vxs.
TEST(Limit, ExtrapolatedToTheTrueValue) {
    NumericSession s;
    expectNear(s, {
        {"limit(sin(x)/x,x,0)", 1.0, 0.0, 1e-14},
        {"limit(x,x,2)", 2.0, 0.0, 1e-14},
        {"limit(x,x,2+3i)", 2.0, 3.0, 1e-14},
        {"limit((1-cos(x))/x^2,x,0)", 0.5, 0.0, 1e-12},
        {"limit((x^2-9)/(x-3),x,3)", 6.0, 0.0, 1e-12},
    });
}

TEST(Integral, FixedSumThenAdaptive) {
    NumericSession s;
    expectNear(s, {
        {"int(x^2,x,0,1)", 1.0 / 3.0, 0.0, 1e-15},
        {"int(1,x,0,i)", 0.0, 1.0, 1e-15},
        {"int(x,x,1,1+i)", -0.5, 1.0, 1e-14},  // (1+i)^2/2 - 1/2
        {"int(exp(-x^2),x,-3,3)", std::sqrt(kPi) * std::erf(3.0), 0.0, 1e-14},
        {"int(1/sqrt(x),x,0,1)", 2.0, 0.0, 1e-12},  // endpoint singularity, never sampled
        {"int(x^2,x,1,0)", -1.0 / 3.0, 0.0, 1e-15},
        {"int(cos(x),x,0,100)", std::sin(100.0), 0.0, 1e-12},
        {"int(exp(x),x,1+i,2-i)", std::exp(2.0) * std::cos(1.0) - std::exp(1.0) * std::cos(1.0),
         -std::exp(2.0) * std::sin(1.0) - std::exp(1.0) * std::sin(1.0), 1e-12},
        {"erf(1)", std::erf(1.0), 0.0, 1e-14},
    });
}

TEST(Integral, NodeCountAndFailures) {
    NumericSession s;
    // A converged fixed sum evaluates those of its 101 nodes that are not
    // exactly an end point in double precision; N = 10 leaves the coarse
    // sum unsettled and the adaptive methods sample more.
    s.submitted("newfunc(counted,t,seq(new(calls,calls+1),1))\nnew(calls,0)");
    expectNear(s, {{"int(counted(x),x,0,1)", 1.0, 0.0, 1e-15}, {"calls", 82.0, 0.0, 0.0}});
    s.submitted("new(calls,0)");
    expectNear(s, {{"int(counted(x),x,0,1,10)", 1.0, 0.0, 1e-15}});
    Value calls;
    ASSERT_EQ(s.evaluate("calls", calls), kComplex);
    EXPECT_GT(calls.z.re, 17.0);
    expectShown(s, {
        {"int(1,x,0,1,0.5)", "(int) Error: Syntax"}, {"int(1,x,0)", "(int) Error: Syntax"},
        {"int(1,x,0,[1])", "(int) Error: Data Type"},
        // The integrand's own failure at a node, not a stale value.
        {"int(if(x<0.5,1,{1}),x,0,1)", "(int) Error: Data Type"},
        // Failures inside the adaptive methods pass on the same way.
        {"int(if(x<0.001,{1},1/sqrt(x)),x,0,1)", "(int) Error: Data Type"},
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
    expectNear(s, {
        {"diff(x^2,x,3)", 6.0, 0.0, 1e-13},
        {"diff(exp(x),x,i)", std::cos(1.0), std::sin(1.0), 1e-13},
        {"diff(x^3,x,1e8)", 3e16, 0.0, 1e3},
        {"diff(sin(x),x,1)", std::cos(1.0), 0.0, 1e-13},
    });
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
        {"diff(x,2,1)", "(diff) Error: Syntax"},
        // Results shorter than the point.
        {"diff([1],x,[1,2])", "(diff) Data Type"},
    });
}

TEST(Solve, NewtonWithNumericDerivative) {
    NumericSession s;
    expectNear(s, {
        {"solve(x^2-2,x,1)", std::sqrt(2.0), 0.0, 1e-15},
        {"solve(x^2+1,x,1+i)", 0.0, 1.0, 1e-12},
        {"solve(cos(x)-x,x,1)", 0.7390851332151607, 0.0, 1e-15},
        {"solve(x^3-1000000,x,50)", 100.0, 0.0, 1e-12},
        {"solve(1e-200*(x-3),x,1)", 3.0, 0.0, 1e-12},  // f1 - f2 = 2e-205 is not 0
        {"solve(x-1e250,x,1)", 1e250, 0.0, 1e236},     // 2h f0 overflows
    });
    expectShown(s, {
        {"solve(5,x,1)", "Error: Division by Zero"},
        {"solve(exp(2*x)-1e-300,x,0)", "-345.387763949"},
        {"solve(exp(x)+1e-20,x,0)", "(solve) Error: Unable to converge"},
    });
}

}  // namespace
}  // namespace vx
