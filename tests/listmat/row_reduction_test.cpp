// rref and the null space on their own, then eigenvectors and matfunc as
// the language reaches them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "listmat/row_reduction.h"
#include "mathlib/complex.h"
#include "tests/mathlib/value_harness.h"

namespace vx {
namespace {

using Elements = std::vector<Complex>;

const std::atomic<int> kNoAbort{0};

Elements real(std::initializer_list<double> values) {
    Elements e;
    for (double v : values) e.push_back(Complex{v, 0.0});
    return e;
}

void expectExactly(const Elements& got, const Elements& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(got[k].re, want[k].re) << what << " element " << k;
        EXPECT_EQ(got[k].im, want[k].im) << what << " element " << k;
    }
}

TEST(RowReduction, EchelonForms) {
    struct Case {
        const char* what;
        Elements m;
        int rows, columns;
        Elements want;
    } cases[] = {
        {"zero row ends last", real({1, 2, 2, 4, 0, 1}), 3, 2, real({1, 0, 0, 1, 0, 0})},
        {"within eps is exact 0", real({1e-12}), 1, 1, real({0})},
        {"1.01e-10 is not zero", real({1.01e-10}), 1, 1, real({1})},
        {"rows sorted first", real({0, 1, 1, 0}), 2, 2, real({1, 0, 0, 1})},
        {"dependent rows", real({2, 4, 6, 1, 2, 3}), 2, 3, real({1, 2, 3, 0, 0, 0})},
        {"rank 2 of 3", real({1, 2, 3, 4, 5, 6, 7, 8, 9}), 3, 3, real({1, 0, -1, 0, 1, 2, 0, 0, 0})},
        {"tiny column cleared", real({1, 1e-11, 0, 1e-11}), 2, 2, real({1, 0, 0, 0})},
        {"complex pivot", {{0, 1}, {1, 0}, {1, 0}, {0, -1}}, 2, 2, {{1, 0}, {0, -1}, {0, 0}, {0, 0}}},
        {"no rows", {}, 0, 3, {}},
    };
    for (const Case& c : cases) {
        Elements r;
        ASSERT_TRUE(reducedRowEchelon(c.m, c.rows, c.columns, kNoAbort, r)) << c.what;
        expectExactly(r, c.want, c.what);
    }
    EXPECT_EQ(rowReductionEpsilon(), static_cast<double>(1e-10f));
}

TEST(RowReduction, NullspaceBases) {
    struct Case {
        const char* what;
        Elements m;
        int rows, columns;
        int basisRows;
        Elements want;
    } cases[] = {
        {"one free column", real({1, 2, 2, 4}), 2, 2, 1, real({-2, 1})},
        {"full rank", real({1, 0, 0, 0, 1, 0, 0, 0, 1}), 3, 3, 0, {}},
        {"one row, two free", real({1, 2, 3}), 1, 3, 2, real({-2, 1, 0, -3, 0, 1})},
        {"rank 2 of 3", real({1, 2, 3, 4, 5, 6, 7, 8, 9}), 3, 3, 1, real({1, -2, 1})},
        {"zero matrix", real({0, 0, 0, 0}), 2, 2, 2, real({1, 0, 0, 1})},
        {"pivot in the last column", real({0, 1}), 1, 2, 1, real({1, 0})},
    };
    for (const Case& c : cases) {
        Elements r;
        ASSERT_TRUE(reducedRowEchelon(c.m, c.rows, c.columns, kNoAbort, r)) << c.what;
        int basisRows = -1;
        const Elements n = nullspaceFromEchelon(r, c.rows, c.columns, basisRows);
        EXPECT_EQ(basisRows, c.basisRows) << c.what;
        expectExactly(n, c.want, c.what);
    }
}

// Random integer matrices with planted dependent rows: every basis vector
// is annihilated, and rank + nullity is the column count.
TEST(RowReduction, NullspaceVectorsAreAnnihilated) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> d(-5, 5);
    for (int trial = 0; trial < 40; ++trial) {
        const int rows = 2 + trial % 4, columns = 2 + trial % 5;
        Elements m(static_cast<size_t>(rows * columns));
        for (Complex& z : m) z = Complex{double(d(rng)), 0.0};
        for (int c = 0; c < columns; ++c)  // last row = first + second
            m[static_cast<size_t>((rows - 1) * columns + c)] =
                cxAdd(m[static_cast<size_t>(c)], m[static_cast<size_t>(columns + c)]);
        Elements r;
        ASSERT_TRUE(reducedRowEchelon(m, rows, columns, kNoAbort, r));
        int rank = 0;
        for (int row = 0; row < rows; ++row)
            for (int c = 0; c < columns; ++c)
                if (r[static_cast<size_t>(row * columns + c)].re != 0.0) {
                    ++rank;
                    break;
                }
        int basisRows = 0;
        const Elements n = nullspaceFromEchelon(r, rows, columns, basisRows);
        EXPECT_EQ(rank + basisRows, columns) << "trial " << trial;
        for (int b = 0; b < basisRows; ++b)
            for (int row = 0; row < rows; ++row) {
                double sum = 0;
                for (int c = 0; c < columns; ++c)
                    sum += m[static_cast<size_t>(row * columns + c)].re * n[static_cast<size_t>(b * columns + c)].re;
                EXPECT_NEAR(sum, 0.0, 1e-9) << "trial " << trial << " vector " << b;
            }
    }
}

// M v_k = lambda_k v_k for every row of eigenvectors(M), real and complex.
TEST(Eigenvectors, RowsSatisfyTheEigenEquation) {
    test::ValueHarness h;
    for (const char* m : {"[[2,0][0,3]]", "[[2,1][1,2]]", "[[1,2][3,4]]", "[[0,-1][1,0]]", "[[2,0,0][0,3,4][0,4,9]]",
                          "[[4,1,0][1,3,1][0,1,2]]", "[[1,2,3][4,5,6][7,8,10]]"}) {
        test::Evaluation values = h.run(std::string("eigenvalues(") + m + ")");
        ASSERT_EQ(values.tag, kList) << m << ": " << values.message;
        const Value matrix = h.matrix(m);
        const Value vectors = h.matrix(std::string("eigenvectors(") + m + ")");
        const int n = matrix.rows;
        ASSERT_EQ(vectors.rows, n) << m;
        ASSERT_EQ(vectors.columns, n) << m;
        for (int k = 0; k < n; ++k) {
            const Complex lambda = values.value.elements[static_cast<size_t>(k)];
            double norm = 0;
            for (int c = 0; c < n; ++c) norm += cxModulus(vectors.at(k, c));
            EXPECT_GT(norm, 0.5) << m << " vector " << k;
            for (int r = 0; r < n; ++r) {
                Complex mv{0, 0};
                for (int c = 0; c < n; ++c) mv = cxAdd(mv, cxMultiply(matrix.at(r, c), vectors.at(k, c)));
                test::expectNear(mv, cxMultiply(lambda, vectors.at(k, r)), 1e-8,
                                 std::string(m) + " vector " + std::to_string(k));
            }
        }
    }
}

// Eigenvalues of [[1e8,1][1,0]] are off by more than eps after rounding:
// M - lambda I keeps full rank, so each eigenvector is a row of zeros.
TEST(Eigenvectors, EmptyNullSpaceGivesAZeroRow) {
    test::ValueHarness h;
    const Value v = h.matrix("eigenvectors([[1e8,1][1,0]])");
    test::expectMatrixNear(v, 2, 2, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}, 0.0, "eigenvectors");
}

TEST(MatrixFunction, KnownFunctionsOfMatrices) {
    test::ValueHarness h;
    struct Case {
        const char* statement;
        std::vector<Complex> want;
        double tolerance;
    } cases[] = {
        // The eigenvector matrix is [[0,1][1,0]] here: its inverse needs a row exchange.
        {"matfunc([[4,0][0,9]],sqrt(x),x)", {{2, 0}, {0, 0}, {0, 0}, {3, 0}}, 0.0},
        {"sqrt([[4,0][0,9]])", {{2, 0}, {0, 0}, {0, 0}, {3, 0}}, 0.0},
        {"matfunc([[1,2][3,4]],x^2,x)", {{7, 0}, {10, 0}, {15, 0}, {22, 0}}, 1e-9},
        {"matfunc([[1,2][3,4]],1/x,x)", {{-2, 0}, {1, 0}, {1.5, 0}, {-0.5, 0}}, 1e-9},
        {"matfunc([[2,1][1,2]],x*0+1,x)", {{1, 0}, {0, 0}, {0, 0}, {1, 0}}, 1e-12},
        {"ln(exp([[1,2][0,3]]))", {{1, 0}, {2, 0}, {0, 0}, {3, 0}}, 1e-9},
        {"sin([[0,1][1,0]])", {{0, 0}, {std::sin(1.0), 0}, {std::sin(1.0), 0}, {0, 0}}, 1e-12},
    };
    for (const auto& c : cases) test::expectMatrixNear(h.matrix(c.statement), 2, 2, c.want, c.tolerance, c.statement);
}

}  // namespace
}  // namespace vx
