#include "mathlib/calculus.h"

#include <cmath>
#include <cstdint>

#include "mathlib/complex.h"
#include "mathlib/numeric_args.h"
#include "mathlib/scaled_division.h"

namespace vx {
namespace {

// The two limit offsets are deliberately not symmetric.
constexpr double kLimitRight = 1.074328e-07;
constexpr double kLimitLeft = -1.087313e-07;
constexpr double kStep = 1e-05;
constexpr double kTwoSteps = 2e-05;
constexpr double kQuadratureHalfWidth = 5.0;
constexpr double kQuadratureScale = 0.7853981633974483;  // pi/4
constexpr int kDefaultNodes = 50;
constexpr double kSolveBound = 1e-16;
constexpr int kSolveIterations = 25000;
// Newton has nothing left to gain once a step moves z by a few ulp.
constexpr double kStallFactor = 4.0 * 0x1p-52;

Complex shiftReal(Complex z, double dx) { return Complex{z.re + dx, z.im}; }

// Evaluates f with the bound variable set to x; the result must be a number.
// A failed evaluation keeps its own message.
bool sampleAt(Eval& ev, LocalScope& scope, int local, Ref f, Complex x, Complex& result, const char* dataType) {
    scope.complexAt(local) = x;
    Value v;
    Tag tag = ev.evaluate(f, v);
    if (!tag) return false;
    if (tag != kComplex) return ev.fail("%s", dataType), false;
    result = v.z;
    return true;
}

// Evaluates a point operand, which must be a number.
bool readPoint(Eval& ev, Ref arg, const char* name, Complex& out) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return false;
    if (tag != kComplex) return ev.fail("(%s) Error: Data Type", name), false;
    out = v.z;
    return true;
}

Tag bLimit(Eval& ev, const Args& a, Value& out) {
    if (a.count != 3) return ev.fail("(limit) Error: Syntax");
    const std::string* name = itemName(a[1]);
    if (!name) return ev.fail("(limit) Error: Syntax");
    Complex point;
    if (!readPoint(ev, a[2], "limit", point)) return kNone;
    LocalScope scope(ev.engine);
    const int x = scope.push(*name, Value::scalar(point));
    if (x < 0) return ev.fail(kTooManyLocals);
    Complex right, left;
    const char* dataType = "(limit) Error: Data Type";
    if (!sampleAt(ev, scope, x, a[0], shiftReal(point, kLimitRight), right, dataType) ||
        !sampleAt(ev, scope, x, a[0], shiftReal(point, kLimitLeft), left, dataType))
        return kNone;
    const Complex sum = cxAdd(right, left);
    out = Value::scalar(sum.re * 0.5, sum.im * 0.5);
    return kComplex;
}

// Tanh-sinh quadrature over the straight segment from a to b: nodes at
// t = k h for k = -N .. N, x(t) = (a+b)/2 + (b-a)/2 tanh((pi/2) sinh t).
Tag bInt(Eval& ev, const Args& a, Value& out) {
    std::int64_t nodes = kDefaultNodes;
    int count = a.count;
    if (count == 5) {
        Value n;
        if (ev.evaluate(a[4], n) == kComplex) {
            if (!(n.z.re >= 1.0)) return ev.fail("(int) Error: Syntax");
            nodes = clampToInt64(n.z.re, 1, INT64_C(1) << 52);
        }
        count = 4;
    }
    if (count != 4) return ev.fail("(int) Error: Syntax");
    const std::string* name = itemName(a[1]);
    if (!name) return ev.fail("(int) Error: Syntax");
    Complex from, to;
    if (!readPoint(ev, a[2], "int", from) || !readPoint(ev, a[3], "int", to)) return kNone;

    LocalScope scope(ev.engine);
    const int x = scope.push(*name, Value::scalar(from));
    if (x < 0) return ev.fail(kTooManyLocals);
    const double h = kQuadratureHalfWidth / static_cast<double>(nodes);
    const Complex one{1.0, 0.0}, scale{kQuadratureScale, 0.0};
    const Complex width = cxSubtract(to, from);
    Complex sum{0.0, 0.0};
    for (std::int64_t k = -nodes; k <= nodes; ++k) {
        if (ev.aborted()) return ev.failAborted();
        const Complex u = cxExp(Complex{static_cast<double>(k) * h, 0.0});
        const Complex inverseU = cxDivide(one, u);
        const Complex cosh2 = cxAdd(u, inverseU);      // 2 cosh t
        const Complex sinh2 = cxSubtract(u, inverseU);  // 2 sinh t
        const Complex v = cxExp(cxMultiply(scale, sinh2));
        const Complex q = cxAdd(v, cxDivide(one, v));
        const Complex node = cxDivide(cxAdd(cxDivide(from, v), cxMultiply(to, v)), q);
        // Nodes that have reached an endpoint in double precision are left
        // out: the integrand is never evaluated at a or b.
        if ((node.re == from.re && node.im == from.im) || (node.re == to.re && node.im == to.im)) continue;
        const Complex weight = cxDivide(
            cxMultiply(cxMultiply(Complex{2.0, 0.0}, width), cxMultiply(scale, cosh2)), cxMultiply(q, q));
        Complex f;
        if (!sampleAt(ev, scope, x, a[0], node, f, "(int) Error: Data Type")) return kNone;
        sum = cxAdd(sum, cxMultiply(cxMultiply(Complex{h, 0.0}, f), weight));
    }
    out = Value::scalar(sum);
    return kComplex;
}

// Central difference at every element of a list or matrix point: the
// variable holds the whole shifted point during each of the two evaluations.
Tag diffElementwise(Eval& ev, const Args& a, const std::string& name, Value point, Value& out) {
    const Tag tag = point.tag;
    const int columns = point.columns, rows = point.rows;
    const std::vector<Complex> base = point.elements;
    LocalScope scope(ev.engine);
    const int x = scope.push(name, std::move(point));
    if (x < 0) return ev.fail(kTooManyLocals);
    Stores& stores = ev.engine.stores;
    auto& local = (tag == kList ? stores.localList : stores.localMatrix)[static_cast<size_t>(x)].value.elements;
    auto sample = [&](double dx, Value& result) {
        for (size_t k = 0; k < base.size(); ++k) local[k] = shiftReal(base[k], dx);
        Tag got = ev.evaluate(a[0], result);
        if (!got) return false;
        if (got != tag || result.elements.size() < base.size()) return ev.fail("(diff) Data Type"), false;
        return true;
    };
    Value right, left;
    if (!sample(kStep, right) || !sample(-kStep, left)) return kNone;
    std::vector<Complex> slopes(base.size());
    for (size_t k = 0; k < base.size(); ++k) {
        const Complex d = cxSubtract(right.elements[k], left.elements[k]);
        slopes[k] = Complex{d.re / kTwoSteps, d.im / kTwoSteps};
    }
    out = tag == kList ? Value::list(std::move(slopes)) : Value::matrix(columns, rows, std::move(slopes));
    return tag;
}

Tag bDiff(Eval& ev, const Args& a, Value& out) {
    if (a.count != 3) return ev.fail("(diff) Error: Syntax");
    const std::string* name = itemName(a[1]);
    if (!name) return ev.fail("(diff) Error: Syntax");
    Value point;
    const Tag tag = ev.evaluate(a[2], point);
    if (!tag) return kNone;
    if (tag != kComplex) return diffElementwise(ev, a, *name, std::move(point), out);
    LocalScope scope(ev.engine);
    const int x = scope.push(*name, Value::scalar(point.z));
    if (x < 0) return ev.fail(kTooManyLocals);
    Complex right, left;
    if (!sampleAt(ev, scope, x, a[0], shiftReal(point.z, kStep), right, "(diff) Data Type") ||
        !sampleAt(ev, scope, x, a[0], shiftReal(point.z, -kStep), left, "(diff) Data Type"))
        return kNone;
    const Complex d = cxSubtract(right, left);
    out = Value::scalar(d.re / kTwoSteps, d.im / kTwoSteps);
    return kComplex;
}

// Newton's method with a central-difference derivative.
Tag bSolve(Eval& ev, const Args& a, Value& out) {
    if (a.count != 3) return ev.fail("(solve) Error: Syntax");
    const std::string* name = itemName(a[1]);
    if (!name) return ev.fail("(solve) Error: Syntax");
    Complex z;
    if (!readPoint(ev, a[2], "solve", z)) return kNone;
    LocalScope scope(ev.engine);
    const int x = scope.push(*name, Value::scalar(z));
    if (x < 0) return ev.fail(kTooManyLocals);
    const char* dataType = "(solve) Data Type";
    for (int n = 0;; ++n) {
        Complex f0, f1, f2;
        if (!sampleAt(ev, scope, x, a[0], z, f0, dataType) ||
            !sampleAt(ev, scope, x, a[0], shiftReal(z, kStep), f1, dataType) ||
            !sampleAt(ev, scope, x, a[0], shiftReal(z, -kStep), f2, dataType))
            return kNone;
        // Only an exactly equal pair f1 = f2 is a division by zero.
        const Complex step = cxDivideScaled(cxMultiply(Complex{kTwoSteps, 0.0}, f0), cxSubtract(f1, f2));
        z = cxSubtract(z, step);
        if (n > 0 && std::fabs(f0.re) < kSolveBound && std::fabs(f0.im) < kSolveBound) break;
        // The residual may never drop below the bound in double precision;
        // a step of a few ulp means z cannot get any closer.
        if (n > 0 && cxModulus(step) <= kStallFactor * cxModulus(z)) break;
        if (n > kSolveIterations) return ev.fail("(solve) Error: Unable to converge");
        if (ev.aborted()) return ev.failAborted();
    }
    out = Value::scalar(z);
    return kComplex;
}

constexpr BuiltinEntry kCalculus[] = {
    {"limit", bLimit},
    {"int", bInt},
    {"diff", bDiff},
    {"solve", bSolve},
};

}  // namespace

std::span<const BuiltinEntry> calculusBuiltins() { return kCalculus; }

}  // namespace vx
