// The two matrix powers of '^'. An integral exponent is applied by repeated
// products; every other power is a matrix function and is rewritten into a
// matfunc call on locals, evaluated like any other expression.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "mathlib/complex.h"
#include "mathlib/linear_algebra.h"
#include "mathlib/matrix_algebra.h"

namespace vx {
namespace {

// Above this many products the power is taken by repeated squaring: the
// one-by-one products would keep the user waiting for minutes and gather
// rounding from every step.
constexpr double kLongestProductChain = 65536.0;

// B ^ p for a whole p above the chain limit, in O(log p) products: p is
// q x 2^e with q odd and below 2^53, so B^p is B^q squared e times.
Tag powerBySquaring(Eval& ev, std::vector<Complex> base, double p, int n, Value& out) {
    int e = 0;
    const double mantissa = std::frexp(p, &e);
    auto q = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    e -= 53;
    while ((q & 1U) == 0) {
        q >>= 1;
        ++e;
    }
    // q is odd: its lowest bit makes B itself the first factor.
    std::vector<Complex> result = base;
    for (q >>= 1; q != 0; q >>= 1) {
        if (ev.aborted()) return ev.failAborted();
        base = squareProduct(base, base, n);
        if (q & 1U) result = squareProduct(result, base, n);
    }
    for (; e > 0; --e) {
        if (ev.aborted()) return ev.failAborted();
        result = squareProduct(result, result, n);
    }
    out = Value::matrix(n, n, std::move(result));
    return kMatrix;
}

// M ^ p for a real integral p: the identity for 0, otherwise |p| - 1
// products M = M x B with B the (inverted, for p < 0) original.
Tag integralPower(Eval& ev, Value& m, double p, Value& out) {
    const int n = m.rows;
    if (p == 0.0) {
        std::vector<Complex> id(m.elements.size());
        for (int k = 0; k < n; ++k) id[static_cast<size_t>(k) * n + k] = Complex{1.0, 0.0};
        out = Value::matrix(n, n, std::move(id));
        return kMatrix;
    }
    if (p < 0.0) {
        if (!invertInPlace(ev, m)) return kNone;
        p = -p;
    }
    if (p > kLongestProductChain) return powerBySquaring(ev, std::move(m.elements), p, n, out);
    const std::vector<Complex> base = m.elements;
    for (std::uint64_t k = 1; static_cast<double>(k) < p; ++k) {
        if (ev.aborted()) return ev.failAborted();
        std::vector<Complex> next = squareProduct(m.elements, base, n);
        // A product that reproduces its left factor bit for bit will do so
        // every time after (identity, zero, overflowed to NaN): the rest of
        // the products cannot change the result.
        const bool fixedPoint =
            next.empty() || std::memcmp(next.data(), m.elements.data(), next.size() * sizeof(Complex)) == 0;
        m.elements = std::move(next);
        if (fixedPoint) break;
    }
    out = std::move(m);
    return kMatrix;
}

// Binds a matrix and a number as locals and evaluates the fixed statement
// over them; the locals are popped on every path out.
Tag evaluateRewrite(Eval& ev, const char* matrixName, Value matrix, const char* numberName, Complex number,
                    const char* statement, Value& result) {
    LocalScope scope(ev.engine);
    if (scope.push(matrixName, std::move(matrix)) < 0 || scope.push(numberName, Value::scalar(number)) < 0)
        return ev.fail(kTooManyLocals);
    const Expression e = parseInternal(statement);
    return ev.evaluate(Ref{&e, e.root()}, result);
}

}  // namespace

Tag matrixToPower(Eval& ev, Value& base, Value& exponent, Value& out) {
    if (base.columns != base.rows) return ev.fail("(matpower) Error: Dimension");
    const Complex p = exponent.z;
    if (p.im == 0.0 && isIntegral(p.re)) return integralPower(ev, base, p.re, out);
    Value result;
    Tag tag = evaluateRewrite(ev, "mmatpwr01", std::move(base), "pmatpwr01", p,
                              "matfunc(mmatpwr01,blehx^pmatpwr01,blehx)", result);
    if (!tag) return kNone;
    if (tag != kMatrix) return ev.fail("(matpower) Unexpected Error");
    out = std::move(result);
    return kMatrix;
}

Tag numberToMatrixPower(Eval& ev, Value& base, Value& exponent, Value& out) {
    Value result;
    Tag tag = evaluateRewrite(ev, "mmatexp01", std::move(exponent), "pmatexp01", base.z,
                              "matfunc(ln(pmatexp01)*mmatexp01,exp(blehx),blehx)", result);
    if (!tag) return kNone;
    if (tag != kMatrix) return ev.fail("(matexp) Unexpected Error");
    out = std::move(result);
    return kMatrix;
}

}  // namespace vx
