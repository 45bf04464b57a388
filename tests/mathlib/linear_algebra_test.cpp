// The linear-algebra built-ins and the matrix powers of '^' as the language
// sees them: identities between built-ins, known matrix functions, the
// start-up functions that rest on them, aborts and degenerate sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "tests/mathlib/value_harness.h"

namespace vx {
namespace {

using test::expectMatrixNear;
using test::ValueHarness;

const double kPi = 4.0 * std::atan(1.0);

std::string randomIntegerMatrix(std::mt19937& rng, int n) {
    std::uniform_int_distribution<int> d(-6, 6);
    std::string s = "[";
    for (int r = 0; r < n; ++r) {
        s += "[";
        for (int c = 0; c < n; ++c) s += (c ? "," : "") + std::to_string(d(rng));
        s += "]";
    }
    return s + "]";
}

// Statements that must be true (1) exactly: integral powers are repeated
// products and inverses, bit for bit.
TEST(MatrixPower, IntegralPowersAgreeWithProductsAndInverse) {
    ValueHarness h;
    std::vector<std::string> cases = {
        "[[1,2][3,4]]^3==[[1,2][3,4]]*[[1,2][3,4]]*[[1,2][3,4]]",
        "[[1,2][3,4]]^0==ident(2)",
        "[[1,2][3,4]]^1==[[1,2][3,4]]",
        "[[1,2][3,4]]^-1==inverse([[1,2][3,4]])",
        "[[1,2][3,4]]^-2==inverse([[1,2][3,4]])*inverse([[1,2][3,4]])",
        "[[0,1][1,0]]^-3==[[0,1][1,0]]",
        "[[1+i,2][3,4-i]]^-1==inverse([[1+i,2][3,4-i]])",
    };
    std::mt19937 rng(5);
    for (int n : {3, 5, 9, 12}) {
        const std::string m = randomIntegerMatrix(rng, n);
        cases.push_back(m + "^-1==inverse(" + m + ")");
        cases.push_back(m + "^2==" + m + "*" + m);
    }
    for (const std::string& c : cases) {
        test::Evaluation r = h.run(c);
        ASSERT_EQ(r.tag, kComplex) << c << ": " << r.message;
        EXPECT_EQ(r.value.z.re, 1.0) << c;
    }
}

// Non-integral powers and number ^ matrix go through matfunc: check them
// against values known in closed form.
TEST(MatrixPower, FractionalPowersAndMatrixExponentials) {
    ValueHarness h;
    const double ch = std::cosh(1.0), sh = std::sinh(1.0);
    struct Case {
        const char* statement;
        std::vector<Complex> want;
    } cases[] = {
        {"[[4,0][0,9]]^0.5", {{2, 0}, {0, 0}, {0, 0}, {3, 0}}},
        {"[[4,0][0,9]]^-0.5", {{0.5, 0}, {0, 0}, {0, 0}, {1.0 / 3, 0}}},
        {"[[2,1][1,2]]^0.5*[[2,1][1,2]]^0.5", {{2, 0}, {1, 0}, {1, 0}, {2, 0}}},
        {"([[1,2][3,4]]^(1/3))^3", {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {"2^[[1,0][0,2]]", {{2, 0}, {0, 0}, {0, 0}, {4, 0}}},
        {"2^[[0,1][1,0]]", {{std::cosh(std::log(2.0)), 0}, {std::sinh(std::log(2.0)), 0},
                            {std::sinh(std::log(2.0)), 0}, {std::cosh(std::log(2.0)), 0}}},
        {"exp([[0,1][1,0]])", {{ch, 0}, {sh, 0}, {sh, 0}, {ch, 0}}},
        {"exp([[1,2][3,4]])", {{51.968956198705, 0}, {74.736564567003, 0}, {112.10484685050, 0}, {164.07380304920, 0}}},
        {"exp([[0,-pi][pi,0]])", {{-1, 0}, {0, 0}, {0, 0}, {-1, 0}}},
        {"sqrt([[4,0][0,9]])", {{2, 0}, {0, 0}, {0, 0}, {3, 0}}},
    };
    for (const Case& c : cases) expectMatrixNear(h.matrix(c.statement), 2, 2, c.want, 1e-9, c.statement);
    test::Evaluation same = h.run("2^[[1,2][3,4]]==matfunc(ln(2)*[[1,2][3,4]],exp(blehx),blehx)");
    EXPECT_EQ(same.value.z.re, 1.0) << same.message;
}

TEST(StartupFunctions, AngleAndNormalize) {
    ValueHarness h;
    struct Case {
        const char* statement;
        Tag tag;
        std::vector<Complex> want;
    } cases[] = {
        {"angle([1,0],[0,1])", kComplex, {{kPi / 2, 0}}},
        {"angle([1,1],[1,0])", kComplex, {{kPi / 4, 0}}},
        {"angle([1,0,0],[-1,0,0])", kComplex, {{kPi, 0}}},
        {"normalize([3,4])", kMatrix, {{0.6, 0}, {0.8, 0}}},
        {"normalize([1,2,2])", kMatrix, {{1.0 / 3, 0}, {2.0 / 3, 0}, {2.0 / 3, 0}}},
    };
    for (const Case& c : cases) {
        test::Evaluation r = h.run(c.statement);
        ASSERT_EQ(r.tag, c.tag) << c.statement << ": " << r.message;
        if (c.tag == kComplex) {
            test::expectNear(r.value.z, c.want[0], 1e-12, c.statement);
            continue;
        }
        ASSERT_EQ(r.value.elements.size(), c.want.size()) << c.statement;
        for (size_t k = 0; k < c.want.size(); ++k) test::expectNear(r.value.elements[k], c.want[k], 1e-9, c.statement);
    }
}

TEST(LinearAlgebraBuiltins, AbortStopsTheLongComputations) {
    ValueHarness h;
    h.engine.abortRequested.store(1);
    for (const char* statement : {"det(ident(3))", "det(ident(20))", "inverse(ident(9))", "charpoly(ident(2))",
                                  "charpoly(ident(12))", "[[1,2][3,4]]^5", "[[1,2][3,4]]^-2", "rref([[1]])",
                                  "eigenvectors([[1,2][3,4]])", "exp([[1,2][3,4]])", "nullspace([[1,2][3,4]])"}) {
        test::Evaluation r = h.run(statement);
        EXPECT_EQ(r.tag, kNone) << statement;
        EXPECT_EQ(r.message, "Error: Operation Aborted") << statement;
    }
}

// Degenerate and large sizes answer without crashing.
TEST(LinearAlgebraBuiltins, EmptyAndLargeMatrices) {
    ValueHarness h;
    struct Case {
        const char* statement;
        std::string want;  // a value text or the message
    } cases[] = {
        {"det(ident(0))", "(1,0)"},
        {"trace(ident(0))", "(0,0)"},
        {"det(ident(200))", "(1,0)"},
        {"det(2*ident(60))", "(1.15292e+18,0)"},
        {"inverse(2*ident(100))==0.5*ident(100)", "(1,0)"},
        {"ident(4097)", "(ident) Error: Dimension"},
        {"ident(1e300)", "(ident) Error: Dimension"},
    };
    for (const Case& c : cases) {
        test::Evaluation r = h.run(c.statement);
        std::string got = r.message;
        if (r.tag == kComplex) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "(%g,%g)", r.value.z.re, r.value.z.im);
            got = buffer;
        }
        EXPECT_EQ(got, c.want) << c.statement;
    }
    Value empty = h.matrix("inverse(ident(0))");
    EXPECT_EQ(empty.columns, 0);
    EXPECT_EQ(empty.rows, 0);
    test::Evaluation p = h.run("charpoly(ident(0))");
    ASSERT_EQ(p.tag, kList);
    ASSERT_EQ(p.value.count(), 1);
    EXPECT_EQ(p.value.elements[0].re, 1.0);
}

}  // namespace
}  // namespace vx
