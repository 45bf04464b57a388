#pragma once
// Evaluates single statements on an engine with the whole language and
// hands back the Value itself, for numeric checks with a tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/evaluator.h"
#include "mathlib/complex.h"
#include "shell/standard_library.h"

namespace vx::test {

struct Evaluation {
    Tag tag = kNone;
    Value value;
    std::string message;
};

class ValueHarness {
public:
    ValueHarness() { startEngine(engine); }

    Evaluation run(const std::string& statement) {
        ErrorText error(512);
        Eval ev(engine, error);
        const Expression e = parseInternal(statement);
        Evaluation result;
        try {
            result.tag = ev.evaluate(Ref{&e, e.root()}, result.value);
        } catch (const DivisionByZero&) {
            error.fail("Error: Division by Zero");
        }
        result.message = error.text();
        return result;
    }

    // The matrix value of the statement; fails the test for anything else.
    Value matrix(const std::string& statement) {
        Evaluation r = run(statement);
        EXPECT_EQ(r.tag, kMatrix) << statement << ": " << r.message;
        return r.value;
    }

    Engine engine;
};

inline void expectNear(Complex got, Complex want, double tolerance, const std::string& what) {
    EXPECT_NEAR(got.re, want.re, tolerance) << what;
    EXPECT_NEAR(got.im, want.im, tolerance) << what;
}

inline void expectMatrixNear(const Value& got, int columns, int rows, const std::vector<Complex>& want,
                             double tolerance, const std::string& what) {
    ASSERT_EQ(got.tag, kMatrix) << what;
    ASSERT_EQ(got.columns, columns) << what;
    ASSERT_EQ(got.rows, rows) << what;
    for (size_t k = 0; k < want.size(); ++k)
        expectNear(got.elements[k], want[k], tolerance, what + " element " + std::to_string(k));
}

}  // namespace vx::test
