#include "mathlib/calculus.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "mathlib/complex.h"
#include "mathlib/extrapolation.h"
#include "mathlib/numeric_args.h"
#include "mathlib/quadrature.h"

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
// solve's step relative to |z| far from 0, the widest step a flat
// difference may widen it to, a thousandfold at a time, and the Newton step
// that makes a small residual a root.
constexpr double kRelativeSolveStep = 1e-10;
constexpr double kWidestSolveStep = 1e297;
constexpr double kRootStep = 1e-6;
// Newton has nothing left to gain once a step moves z by a few ulp.
constexpr double kStallFactor = 4.0 * 0x1p-52;

// The mend rule of this file: limit, diff and int first compute the fixed
// formula they always had, then a sound estimate (extrapolation, adaptive
// quadrature). The fixed result stands wherever it agrees with the sound
// one to far below the 12 printed digits, so right answers keep every bit;
// elsewhere the sound estimate replaces it, or the built-in refuses.
constexpr double kSameAnswer = 5e-14;

bool agrees(Complex fixed, Complex sound) {
    return cxModulus(cxSubtract(fixed, sound)) <= kSameAnswer * cxModulus(sound);
}

// The fixed tanh-sinh sum stands when its half-step form agrees this well.
constexpr double kFixedSumSettled = 1e-12;

// A limit is accepted when each one-sided extrapolation settles to 1e-5 of
// the values seen and the even one to 1e-9.
constexpr double kOneSidedTolerance = 1e-5;
constexpr double kLimitTolerance = 1e-6;

// Extrapolation starts from a step well below the size of the point (the
// answer) and again from one as large as the point: functions smooth on that
// scale extrapolate more precisely from there, but sampling coarsely can
// also alias (sin(100x)/x at h = 2^-k seems to tend to -0.53), so the broad
// run is used only where it agrees with the fine one.
bool extrapolateFromTwoSteps(const StepSample& sample, Complex point, int order, Extrapolated& out) {
    const double size = std::max(1.0, cxModulus(point));
    Extrapolated broad;
    if (!extrapolateToZero(sample, size / 64.0, order, out) || !extrapolateToZero(sample, size, order, broad))
        return false;
    const double apart = cxModulus(cxSubtract(broad.value, out.value));
    if (broad.error < out.error && apart <= out.error + broad.error)
        out = Extrapolated{broad.value, broad.error, std::max(out.scale, broad.scale)};
    return true;
}

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

// limit(f, x, a): the plain average of two samples beside a, checked
// against Richardson extrapolation of f(a + h) and f(a - h) to h -> 0. The
// one-sided limits must exist and agree (abs(x)/x and 1/x at 0 have none);
// their average, extrapolated in h^2, is the answer.
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
    const Complex fixed{sum.re * 0.5, sum.im * 0.5};

    auto side = [&](double sign) {
        return [&, sign](double h, Complex& v) { return sampleAt(ev, scope, x, a[0], shiftReal(point, sign * h), v, dataType); };
    };
    auto both = [&](double h, Complex& v) {
        Complex r, l;
        if (!sampleAt(ev, scope, x, a[0], shiftReal(point, h), r, dataType) ||
            !sampleAt(ev, scope, x, a[0], shiftReal(point, -h), l, dataType))
            return false;
        const Complex s = cxAdd(r, l);
        v = Complex{s.re * 0.5, s.im * 0.5};
        return true;
    };
    const double h0 = std::max(1.0, cxModulus(point)) / 64.0;
    Extrapolated fromRight, fromLeft, even;
    if (!extrapolateToZero(side(1.0), h0, 1, fromRight) || !extrapolateToZero(side(-1.0), h0, 1, fromLeft) ||
        !extrapolateFromTwoSteps(both, point, 2, even))
        return kNone;
    const double scale = std::max({fromRight.scale, fromLeft.scale, cxModulus(even.value)});
    if (getenv("VXDBG")) fprintf(stderr, "R %.17g+%.3gi err %.3g / L %.17g+%.3gi err %.3g / E %.17g err %.3g scale %.3g\n", fromRight.value.re, fromRight.value.im, fromRight.error, fromLeft.value.re, fromLeft.value.im, fromLeft.error, even.value.re, even.error, scale);
    const double sides = kOneSidedTolerance * scale;
    if (!(fromRight.error <= sides && fromLeft.error <= sides &&
          cxModulus(cxSubtract(fromRight.value, fromLeft.value)) <= sides + fromRight.error + fromLeft.error &&
          even.error <= kLimitTolerance * scale))
        return ev.fail("(limit) Error: Unable to converge");
    out = Value::scalar(agrees(fixed, even.value) ? fixed : even.value);
    return kComplex;
}

// Thrown by the integrand of the adaptive methods when an evaluation failed
// or the user aborted; the error text already holds the message.
struct IntegrandFailed {};

// Tanh-sinh quadrature over the straight segment from a to b: nodes at
// t = k h for k = -N .. N, x(t) = (a+b)/2 + (b-a)/2 tanh((pi/2) sinh t).
// The nodes of even k form the same sum at step 2h; where the two agree to
// 1e-12 of the integral of |f| the fixed sum has converged and stands.
// Otherwise Boost's adaptive methods take over, and an integral that none
// of them settles is refused rather than answered with a wrong number.
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
    Complex sum{0.0, 0.0}, evenSum{0.0, 0.0};
    double absoluteSum = 0.0;
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
        const Complex term = cxMultiply(cxMultiply(Complex{h, 0.0}, f), weight);
        sum = cxAdd(sum, term);
        if (k % 2 == 0) evenSum = cxAdd(evenSum, term);
        absoluteSum += cxModulus(term);
    }
    const Complex coarse{2.0 * evenSum.re, 2.0 * evenSum.im};
    if (cxModulus(cxSubtract(sum, coarse)) <= kFixedSumSettled * absoluteSum) {
        out = Value::scalar(sum);
        return kComplex;
    }
    const Integrand integrand = [&](Complex at) {
        Complex f;
        if (ev.aborted() || !sampleAt(ev, scope, x, a[0], at, f, "(int) Error: Data Type")) throw IntegrandFailed{};
        return f;
    };
    Complex result;
    try {
        if (!integrateAdaptive(integrand, from, to, result)) return ev.fail("(int) Error: Unable to converge");
    } catch (const IntegrandFailed&) {
        return ev.aborted() ? ev.failAborted() : kNone;
    }
    out = Value::scalar(result);
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
    // The central difference at h, with h = 1e-5 the fixed formula; the
    // sound estimate is its Richardson extrapolation in h^2 (Ridders).
    auto central = [&](double h, Complex& slope) {
        Complex right, left;
        if (!sampleAt(ev, scope, x, a[0], shiftReal(point.z, h), right, "(diff) Data Type") ||
            !sampleAt(ev, scope, x, a[0], shiftReal(point.z, -h), left, "(diff) Data Type"))
            return false;
        const Complex d = cxSubtract(right, left);
        slope = Complex{d.re / (2.0 * h), d.im / (2.0 * h)};
        return true;
    };
    Complex fixed;
    Extrapolated sound;
    if (!central(kStep, fixed) || !extrapolateFromTwoSteps(central, point.z, 2, sound)) return kNone;
    out = Value::scalar(agrees(fixed, sound.value) || !std::isfinite(sound.error) ? fixed : sound.value);
    return kComplex;
}

// Newton's method with a central-difference derivative. The step h is
// 1e-5, or 1e-10 |z| far out, so that z + h still differs from z (solve(x -
// 1e20, x, 1)); where f(z + h) = f(z - h) to the last bit h grows a
// thousandfold at a time before the step is given up as a division by zero. A residual below
// 1e-16 ends the search only together with a Newton step that is small
// beside z: exp(x) falls below 1e-16 near -37 without any root there.
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
    bool seenNormal = false;
    for (int n = 0;; ++n) {
        Complex f0, f1, f2;
        if (!sampleAt(ev, scope, x, a[0], z, f0, dataType)) return kNone;
        const bool isZero = f0.re == 0.0 && f0.im == 0.0;
        const double baseStep = std::max(kStep, kRelativeSolveStep * cxModulus(z));
        double h = baseStep;
        for (;; h *= 1e3) {
            if (!sampleAt(ev, scope, x, a[0], shiftReal(z, h), f1, dataType) ||
                !sampleAt(ev, scope, x, a[0], shiftReal(z, -h), f2, dataType))
                return kNone;
            if (f1.re != f2.re || f1.im != f2.im || isZero || h > kWidestSolveStep) break;
        }
        // A function that has sunk below the normal range after being above
        // it (exp(x) going left) has no root there, only underflow.
        const bool normal = std::max({cxModulus(f0), cxModulus(f1), cxModulus(f2)}) >= DBL_MIN;
        if (!normal && seenNormal) return ev.fail("(solve) Error: Unable to converge");
        seenNormal = seenNormal || normal;
        // A zero where the difference is flat is a root (x^2 at 0, or a
        // function that is 0 everywhere).
        if (f1.re == f2.re && f1.im == f2.im && isZero) break;
        // Only an exactly equal pair f1 = f2 is a division by zero. Far out
        // 2h f0 itself can overflow; the quotient is then taken first.
        const Complex scaledResidual = cxMultiply(Complex{2.0 * h, 0.0}, f0);
        const Complex step = std::isfinite(cxModulus(scaledResidual))
                                 ? cxDivide(scaledResidual, cxSubtract(f1, f2))
                                 : cxMultiply(Complex{2.0 * h, 0.0}, cxDivide(f0, cxSubtract(f1, f2)));
        z = cxSubtract(z, step);
        // A derivative that needed a widened step is too coarse to vouch
        // for a root (exp(x) + 1e-20 far left is flat, not zero).
        const bool resolved = h == baseStep;
        const double size = std::max(cxModulus(z), 1.0);
        if (n > 0 && resolved && std::fabs(f0.re) < kSolveBound && std::fabs(f0.im) < kSolveBound &&
            cxModulus(step) <= kRootStep * size)
            break;
        // The residual may never drop below the bound in double precision;
        // a step of a few ulp means z cannot get any closer.
        if (n > 0 && resolved && cxModulus(step) <= kStallFactor * cxModulus(z)) break;
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
