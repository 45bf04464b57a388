#include "mathlib/polynomial_builtins.h"

#include <cstdint>

#include "mathlib/complex.h"
#include "mathlib/numeric_args.h"
#include "mathlib/polynomial.h"

namespace vx {
namespace {

// The single list operand of polyroots, polyfactor, polydiff and polyint.
bool readOnlyList(Eval& ev, const Args& a, const char* name, Poly& p) {
    if (a.count != 1) return ev.fail("(%s) Error: Syntax", name), false;
    return readList(ev, a[0], name, p);
}

Tag returnList(Value& out, Poly p) {
    out = Value::list(std::move(p));
    return kList;
}

Tag bPolyRoots(Eval& ev, const Args& a, Value& out) {
    Poly p, roots;
    if (!readOnlyList(ev, a, "polyroots", p)) return kNone;
    switch (polyRoots(std::move(p), roots, ev.engine.abortRequested)) {
        case RootStatus::Ok: return returnList(out, std::move(roots));
        case RootStatus::Constant: return ev.fail("(polyroots) Error: Constant Polynomial");
        case RootStatus::Timeout: return ev.fail("(polyroots) Error: Timeout");
        case RootStatus::Aborted: break;
    }
    return ev.failAborted();
}

Tag bPolyFactor(Eval& ev, const Args& a, Value&) {
    Poly p;
    if (!readOnlyList(ev, a, "polyfactor", p)) return kNone;
    std::string text;
    if (!polyFactorText(p, text, ev.engine.abortRequested)) return ev.failAborted();
    return failWithText(ev, text);
}

Tag bPolyDiff(Eval& ev, const Args& a, Value& out) {
    Poly p;
    if (!readOnlyList(ev, a, "polydiff", p)) return kNone;
    return returnList(out, polyDerivative(p));
}

Tag bPolyInt(Eval& ev, const Args& a, Value& out) {
    Poly p;
    if (!readOnlyList(ev, a, "polyint", p)) return kNone;
    return returnList(out, polyAntiderivative(p));
}

// polymul and polyadd: fold the lists left to right.
Tag foldLists(Eval& ev, const Args& a, Value& out, const char* name, Poly (*combine)(const Poly&, const Poly&)) {
    if (a.count < 1) return ev.fail("(%s) Unexpected Error", name);
    Poly acc, next;
    if (!readList(ev, a[0], name, acc)) return kNone;
    if (a.count < 2) return ev.fail("(%s) Unexpected Error", name);
    for (int k = 1; k < a.count; ++k) {
        if (!readList(ev, a[k], name, next)) return kNone;
        acc = combine(acc, next);
    }
    return returnList(out, std::move(acc));
}

Tag bPolyMul(Eval& ev, const Args& a, Value& out) { return foldLists(ev, a, out, "polymul", polyProduct); }
Tag bPolyAdd(Eval& ev, const Args& a, Value& out) { return foldLists(ev, a, out, "polyadd", polySum); }

Tag bPolyDiv(Eval& ev, const Args& a, Value&) {
    if (a.count != 2) return ev.fail("(polydiv) Error: Syntax");
    Poly dividend, divisor, quotient, remainder;
    if (!readList(ev, a[0], "polydiv", dividend) || !readList(ev, a[1], "polydiv", divisor)) return kNone;
    polyDivide(dividend, divisor, quotient, remainder);
    std::string text = polyText(quotient);
    if (!isZeroPoly(remainder)) text += " R " + polyText(remainder);
    return failWithText(ev, text);
}

Tag bPolyPower(Eval& ev, const Args& a, Value& out) {
    if (a.count != 2) return ev.fail("(polypower) Error: Syntax");
    Value n;
    Tag tag = ev.evaluate(a[1], n);
    if (!tag) return kNone;
    if (tag != kComplex) return ev.fail("(polypower) Error: Data Type");
    if (n.z.im != 0.0) return ev.fail("(polypower) Error: Complex Exponent");
    if (!isIntegral(n.z.re)) return ev.fail("(polypower) Error: Non-Integral Exponent");
    if (n.z.re < 0.0) return ev.fail("(polypower) Error: Negative Argument");
    Poly p;
    if (!readList(ev, a[0], "polypower", p)) return kNone;
    const std::int64_t exponent = clampToInt64(n.z.re, 0, INT64_MAX);
    if (exponent == 0) return returnList(out, Poly{Complex{1.0, 0.0}});
    Poly r = p;
    for (std::int64_t k = 1; k < exponent; ++k) {
        if (ev.aborted()) return ev.failAborted();
        r = polyProduct(r, p);
    }
    return returnList(out, std::move(r));
}

Tag bPolyInterp(Eval& ev, const Args& a, Value& out) {
    if (a.count != 2) return ev.fail("(polyinterp) Error: Syntax");
    Poly xs, ys;
    if (!readList(ev, a[0], "polyinterp", xs)) return kNone;
    for (size_t i = 0; i < xs.size(); ++i)
        for (size_t j = i + 1; j < xs.size(); ++j)
            if (xs[i].re == xs[j].re && xs[i].im == xs[j].im)
                return ev.fail("(polyinterp) Error: X-Values Must Be Unique");
    if (!readList(ev, a[1], "polyinterp", ys)) return kNone;
    if (ys.size() != xs.size()) return ev.fail("(polyinterp) Error: Dimension");
    return returnList(out, polyInterpolate(xs, ys));
}

constexpr BuiltinEntry kPolynomials[] = {
    {"polyroots", bPolyRoots}, {"polyfactor", bPolyFactor}, {"polydiff", bPolyDiff},
    {"polyint", bPolyInt},     {"polymul", bPolyMul},       {"polyadd", bPolyAdd},
    {"polydiv", bPolyDiv},     {"polypower", bPolyPower},   {"polyinterp", bPolyInterp},
};

}  // namespace

std::span<const BuiltinEntry> polynomialBuiltins() { return kPolynomials; }

}  // namespace vx
