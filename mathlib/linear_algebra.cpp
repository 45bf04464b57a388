// det, inverse, charpoly, eigenvalues, trace, transpose, ident, width,
// height, crossp, dotp and length. Vectors are one-row matrices.
#include "mathlib/linear_algebra.h"

#include <cmath>

#include "mathlib/complex.h"
#include "mathlib/eigenvalues.h"
#include "mathlib/matrix_algebra.h"

namespace vx {
namespace {

// ident refuses sizes whose storage could not reasonably be allocated.
constexpr double kMaxIdentitySize = 4096.0;

// Evaluates the one matrix argument of a built-in. `syntax` is the built-in's
// own Syntax message (three of them are spelt "Sytnax").
bool oneMatrix(Eval& ev, const Args& a, const char* name, const char* syntax, Value& m) {
    if (a.count != 1) return ev.fail("%s", syntax), false;
    Tag tag = ev.evaluate(a[0], m);
    if (!tag) return false;
    if (tag != kMatrix) return ev.fail("(%s) Error: Data Type", name), false;
    return true;
}

bool oneSquareMatrix(Eval& ev, const Args& a, const char* name, const char* syntax, Value& m) {
    if (!oneMatrix(ev, a, name, syntax, m)) return false;
    if (m.columns != m.rows) return ev.fail("(%s) Error: Not a square matrix", name), false;
    return true;
}

Tag bDet(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneSquareMatrix(ev, a, "det", "(det) Error: Syntax", m)) return kNone;
    Complex det;
    if (!determinant(m.elements, m.rows, ev.engine.abortRequested, det)) return ev.failAborted();
    out = Value::scalar(det);
    return kComplex;
}

Tag bInverse(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneSquareMatrix(ev, a, "inverse", "(inverse) Error: Sytnax", m)) return kNone;
    if (!invertInPlace(ev, m)) return kNone;
    out = std::move(m);
    return kMatrix;
}

Tag bCharpoly(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneSquareMatrix(ev, a, "charpoly", "(charpoly) Error: Syntax", m)) return kNone;
    std::vector<Complex> coefficients;
    if (!characteristicPolynomial(m.elements, m.rows, ev.engine.abortRequested, coefficients))
        return ev.failAborted();
    out = Value::list(std::move(coefficients));
    return kList;
}

Tag bEigenvalues(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneMatrix(ev, a, "charpoly", "(eigenvalues) Error: Syntax", m)) return kNone;
    std::vector<Complex> values;
    if (!eigenvaluesOf(ev, m, values)) return kNone;
    out = Value::list(std::move(values));
    return kList;
}

Tag bTrace(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneSquareMatrix(ev, a, "trace", "(trace) Error: Sytnax", m)) return kNone;
    Complex sum{0.0, 0.0};
    for (int k = 0; k < m.rows; ++k) sum = cxAdd(sum, m.at(k, k));
    out = Value::scalar(sum);
    return kComplex;
}

Tag bTranspose(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneMatrix(ev, a, "transpose", "(transpose) Error: Sytnax", m)) return kNone;
    Value t = Value::matrix(m.rows, m.columns, std::vector<Complex>(m.elements.size()));
    for (int r = 0; r < m.rows; ++r)
        for (int c = 0; c < m.columns; ++c) t.at(c, r) = m.at(r, c);
    out = std::move(t);
    return kMatrix;
}

Tag bIdent(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(ident) Error: Syntax");
    Value v;
    Tag tag = ev.evaluate(a[0], v);
    if (!tag) return kNone;
    if (tag != kComplex) return ev.fail("(ident) Error: Data Type");
    if (v.z.im != 0.0) return ev.fail("(ident) Error: Complex Argument");
    if (!isIntegral(v.z.re)) return ev.fail("(ident) Error: Non-Integral Argument");
    if (v.z.re < 0.0) return ev.fail("(ident) Error: Negative Argument");
    if (v.z.re > kMaxIdentitySize) return ev.fail("(ident) Error: Dimension");
    const int n = static_cast<int>(v.z.re);
    Value id = Value::matrix(n, n, std::vector<Complex>(static_cast<size_t>(n) * static_cast<size_t>(n)));
    for (int k = 0; k < n; ++k) id.at(k, k) = Complex{1.0, 0.0};
    out = std::move(id);
    return kMatrix;
}

Tag bWidth(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneMatrix(ev, a, "width", "(width) Error: Syntax", m)) return kNone;
    out = Value::scalar(static_cast<double>(m.columns));
    return kComplex;
}

Tag bHeight(Eval& ev, const Args& a, Value& out) {
    Value m;
    if (!oneMatrix(ev, a, "height", "(height) Error: Syntax", m)) return kNone;
    out = Value::scalar(static_cast<double>(m.rows));
    return kComplex;
}

// Both vector arguments are evaluated before either is inspected.
bool twoVectors(Eval& ev, const Args& a, const char* name, Value& u, Value& v) {
    if (a.count != 2) return ev.fail("(%s) Error: Syntax", name), false;
    if (!ev.evaluate(a[0], u) || !ev.evaluate(a[1], v)) return false;
    if (u.tag != kMatrix || v.tag != kMatrix) return ev.fail("(%s) Error: Data Type", name), false;
    if (u.rows != 1 || v.rows != 1 || u.columns != v.columns) return ev.fail("(%s) Error: Dimension", name), false;
    return true;
}

Tag bCrossp(Eval& ev, const Args& a, Value& out) {
    Value u, v;
    if (!twoVectors(ev, a, "crossp", u, v)) return kNone;
    if (u.columns != 2 && u.columns != 3) return ev.fail("(crossp) Error: Dimension");
    const auto cross = [](Complex p, Complex q, Complex r, Complex s) {
        return cxSubtract(cxMultiply(p, q), cxMultiply(r, s));
    };
    const std::vector<Complex>& x = u.elements;
    const std::vector<Complex>& y = v.elements;
    std::vector<Complex> r(3);
    if (u.columns == 3) {
        r[0] = cross(x[1], y[2], x[2], y[1]);
        r[1] = cross(x[2], y[0], x[0], y[2]);
    }
    r[2] = cross(x[0], y[1], x[1], y[0]);
    out = Value::matrix(3, 1, std::move(r));
    return kMatrix;
}

Tag bDotp(Eval& ev, const Args& a, Value& out) {
    Value u, v;
    if (!twoVectors(ev, a, "dotp", u, v)) return kNone;
    Complex sum{0.0, 0.0};
    for (size_t k = 0; k < u.elements.size(); ++k) sum = cxAdd(sum, cxMultiply(u.elements[k], v.elements[k]));
    out = Value::scalar(sum);
    return kComplex;
}

// No conjugation: the length of [i, 0] is i.
Tag bLength(Eval& ev, const Args& a, Value& out) {
    Value v;
    if (!oneMatrix(ev, a, "length", "(length) Error: Syntax", v)) return kNone;
    if (v.rows != 1) return ev.fail("(length) Error: Dimension");
    Complex sum{0.0, 0.0};
    for (const Complex& c : v.elements) sum = cxAdd(sum, cxMultiply(c, c));
    out = Value::scalar(cxSqrt(sum));
    return kComplex;
}

constexpr BuiltinEntry kLinearAlgebra[] = {
    {"crossp", bCrossp}, {"dotp", bDotp},         {"length", bLength},       {"det", bDet},
    {"ident", bIdent},   {"width", bWidth},       {"height", bHeight},       {"transpose", bTranspose},
    {"trace", bTrace},   {"inverse", bInverse},   {"charpoly", bCharpoly},   {"eigenvalues", bEigenvalues},
};

}  // namespace

// The messages are those users met when eigenvalues was written as
// polyroots(charpoly(M)).
bool eigenvaluesOf(Eval& ev, const Value& m, std::vector<Complex>& values) {
    if (m.columns != m.rows) return ev.fail("(charpoly) Error: Not a square matrix"), false;
    switch (matrixEigenvalues(m.elements, m.rows, ev.engine.abortRequested, values)) {
        case EigenvalueStatus::Ok: return true;
        case EigenvalueStatus::Empty: return ev.fail("(polyroots) Error: Constant Polynomial"), false;
        case EigenvalueStatus::Aborted: return ev.failAborted(), false;
        case EigenvalueStatus::NoConvergence: return ev.fail("(eigenvalues) Error: Unable to converge"), false;
    }
    return false;
}

bool invertInPlace(Eval& ev, Value& m) {
    try {
        switch (invertMatrix(m.elements, m.rows, ev.engine.abortRequested)) {
            case InverseStatus::Ok: return true;
            case InverseStatus::Singular: return ev.fail("(inverse) Error: Singular Matrix"), false;
            case InverseStatus::Aborted: return ev.failAborted(), false;
        }
    } catch (const DivisionByZero&) {
        return ev.fail("(inverse) Error: Division by Zero"), false;
    }
    return false;
}

std::span<const BuiltinEntry> linearAlgebraBuiltins() { return kLinearAlgebra; }

}  // namespace vx
