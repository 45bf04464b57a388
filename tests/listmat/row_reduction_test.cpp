// rref and the null space on their own, then eigenvectors and matfunc as
// the language reaches them.
#include <gtest/gtest.h>

#include <cmath>
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

// M v_k = lambda_k v_k for every row of eigenvectors(M), relative to |M|
// |v_k|, and no row zero: real and complex, eigenvalues far apart in size,
// repeated (the rows then span the eigenspace) and defective.
TEST(Eigenvectors, RowsSatisfyTheEigenEquation) {
    test::ValueHarness h;
    for (const char* m : {"[[2,0][0,3]]", "[[2,1][1,2]]", "[[1,2][3,4]]", "[[0,-1][1,0]]", "[[2,0,0][0,3,4][0,4,9]]",
                          "[[4,1,0][1,3,1][0,1,2]]", "[[1,2,3][4,5,6][7,8,10]]", "[[1e8,1][1,0]]", "ident(4)*4.0196",
                          "[[2,1,1][1,2,1][1,1,2]]", "[[1,1][0,1]]", "[[1+i,2][3i,4]]"}) {
        test::Evaluation values = h.run(std::string("eigenvalues(") + m + ")");
        ASSERT_EQ(values.tag, kList) << m << ": " << values.message;
        const Value matrix = h.matrix(m);
        const Value vectors = h.matrix(std::string("eigenvectors(") + m + ")");
        const int n = matrix.rows;
        ASSERT_EQ(vectors.rows, n) << m;
        ASSERT_EQ(vectors.columns, n) << m;
        double matrixNorm = 0;
        for (const Complex& z : matrix.elements) matrixNorm += cxModulus(z) * cxModulus(z);
        for (int k = 0; k < n; ++k) {
            const Complex lambda = values.value.elements[static_cast<size_t>(k)];
            double vectorNorm = 0, residual = 0;
            for (int r = 0; r < n; ++r) {
                Complex mv{0, 0};
                for (int c = 0; c < n; ++c) mv = cxAdd(mv, cxMultiply(matrix.at(r, c), vectors.at(k, c)));
                const double d = cxModulus(cxSubtract(mv, cxMultiply(lambda, vectors.at(k, r))));
                residual += d * d;
                vectorNorm += cxModulus(vectors.at(k, r)) * cxModulus(vectors.at(k, r));
            }
            EXPECT_GT(vectorNorm, 0.5) << m << " vector " << k;
            EXPECT_LE(std::sqrt(residual), 1e-10 * std::sqrt(matrixNorm * vectorNorm)) << m << " vector " << k;
        }
    }
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
