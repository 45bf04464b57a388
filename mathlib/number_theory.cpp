#include "mathlib/number_theory.h"

#include <chrono>
#include <cmath>

#include "mathlib/combinatorics.h"
#include "mathlib/complex.h"
#include "mathlib/integer_algorithms.h"
#include "mathlib/numeric_args.h"

namespace vx {
namespace {

// Continued fractions of a/b need at most this many terms for any pair of
// integers a double holds exactly.
constexpr size_t kMaxRationalTerms = 1024;

Tag returnNumber(Value& out, double x) {
    out = Value::scalar(x);
    return kComplex;
}

Tag returnTerms(Value& out, const std::vector<double>& terms) {
    std::vector<Complex> elements;
    elements.reserve(terms.size());
    for (double t : terms) elements.push_back(Complex{t, 0.0});
    out = Value::list(std::move(elements));
    return kList;
}

std::uint32_t millisecondTick() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Tag bGcd(Eval& ev, const Args& a, Value& out) {
    if (a.count != 2) return ev.fail("(gcd) Error: Syntax");
    double x, y;
    if (!readReal(ev, a[0], "gcd", x, true) || !readReal(ev, a[1], "gcd", y, true)) return kNone;
    return returnNumber(out, static_cast<double>(gcd32(lowInt32(x), lowInt32(y))));
}

Tag bRand(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(rand) Error: Syntax");
    double x;
    if (!readReal(ev, a[0], "rand", x, true)) return kNone;
    std::int64_t n = lowInt32(x), sign = 1;
    if (n < 0) {
        sign = -1;
        n = -n;
    }
    if (n == 0) return returnNumber(out, 0.0);
    RandomSeed& stored = ev.engine.extension<RandomSeed>();
    RandomGenerator generator{stored.seed};
    const std::int64_t r = generator.next();
    // The next call starts from a seed moved on by one more draw and the clock.
    stored.seed += static_cast<std::uint32_t>(generator.next()) + millisecondTick();
    return returnNumber(out, static_cast<double>(r * sign % n));
}

Tag bMod(Eval& ev, const Args& a, Value& out) {
    if (a.count != 2) return ev.fail("(mod) Error: Syntax");
    double x, y;
    if (!readReal(ev, a[0], "mod", x, false) || !readReal(ev, a[1], "mod", y, false)) return kNone;
    return returnNumber(out, std::fmod(x, y));
}

Tag bFactor(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(factor) Error: Syntax");
    double n;
    if (!readReal(ev, a[0], "factor", n, true)) return kNone;
    std::vector<double> factors;
    if (!factorInteger(n, factors, ev.engine.abortRequested)) return ev.failAborted();
    return returnTerms(out, factors);
}

Tag bPowerMod(Eval& ev, const Args& a, Value& out) {
    if (a.count != 3) return ev.fail("(powermod) Error: Syntax");
    double base, exponent, modulus;
    if (!readReal(ev, a[0], "powermod", base, true) || !readReal(ev, a[1], "powermod", exponent, true) ||
        !readReal(ev, a[2], "powermod", modulus, true))
        return kNone;
    return returnNumber(out, powerMod(base, exponent, modulus));
}

// Rounds |part| and restores the sign, so that halves round away from 0
// whatever the sign. Fewer than 0 significant digits leave nothing.
Complex roundDigits(Complex z, int digits) {
    if (digits < 0) return Complex{0.0, 0.0};
    const Complex r = roundSignificant(Complex{std::fabs(z.re), std::fabs(z.im)}, digits);
    return Complex{z.re < 0.0 ? -r.re : r.re, z.im < 0.0 ? -r.im : r.im};
}

Tag bRound(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1 && a.count != 2) return ev.fail("(round) Error: Syntax");
    int digits = 0;
    if (a.count == 2) {
        Value n;
        Tag tag = ev.evaluate(a[1], n);
        if (!tag) return kNone;
        if (tag != kComplex) return ev.fail("(round) Error: Data Type");
        if (n.z.im != 0.0) return ev.fail("(round) Error: Complex Accuracy");
        if (!isIntegral(n.z.re)) return ev.fail("(round) Error: Non-Integral Accuracy");
        // Past 400 digits every double is kept as it is; the clamp keeps the
        // digit arithmetic inside int.
        digits = static_cast<int>(clampToInt64(n.z.re, -1, 400));
    }
    Tag tag = ev.evaluate(a[0], out);
    if (!tag) return kNone;
    auto round = [&](Complex z) { return a.count == 1 ? roundHalfUp(z) : roundDigits(z, digits); };
    if (tag == kComplex)
        out.z = round(out.z);
    else
        for (Complex& c : out.elements) c = round(c);
    return tag;
}

// Evaluates the first operand of contfrac / contfracr, which selects the form.
Tag firstOperand(Eval& ev, const Args& a, const char* name, Value& first) {
    if (a.count < 1) return ev.fail("(%s) Error: Syntax", name);
    Tag tag = ev.evaluate(a[0], first);
    if (!tag) return kNone;
    if (tag == kMatrix) return ev.fail("(%s) Error: Data Type", name);
    if (tag == kList && first.elements.empty()) return ev.fail("(%s) Error: Syntax", name);
    if (tag == kComplex && a.count != 2) return ev.fail("(%s) Error: Syntax", name);
    return tag;
}

Tag bContFrac(Eval& ev, const Args& a, Value& out) {
    Value first;
    Tag tag = firstOperand(ev, a, "contfrac", first);
    if (!tag) return kNone;
    if (tag == kList) {
        const std::vector<Complex>& e = first.elements;
        Complex v = e.back();
        for (size_t j = e.size() - 1; j-- > 0;) v = cxAdd(e[j], cxDivide(Complex{1.0, 0.0}, v));
        out = Value::scalar(v);
        return kComplex;
    }
    if (first.z.im != 0.0) return ev.fail("(contfrac) Error: Complex Argument");
    double n;
    if (!readReal(ev, a[1], "contfrac", n, true)) return kNone;
    if (n < 0.0) return ev.fail("(contfrac) Error: Syntax");
    std::vector<double> terms;
    if (!continuedFractionTerms(first.z.re, clampToInt64(n, 0, INT64_MAX), terms, ev.engine.abortRequested))
        return ev.failAborted();
    return returnTerms(out, terms);
}

Tag bContFracR(Eval& ev, const Args& a, Value& out) {
    Value first;
    Tag tag = firstOperand(ev, a, "contfracr", first);
    if (!tag) return kNone;
    if (tag == kList) {
        const std::vector<Complex>& e = first.elements;
        double p = e.back().re, q = 1.0;
        for (size_t j = e.size() - 1; j-- > 0;) {
            const double next = p * e[j].re + q;
            q = p;
            p = next;
        }
        return returnTerms(out, {p, q});
    }
    if (first.z.im != 0.0) return ev.fail("(contfracr) Error: Complex Argument");
    if (!isIntegral(first.z.re)) return ev.fail("(contfracr) Error: Non-Integral Argument");
    double b;
    if (!readReal(ev, a[1], "contfracr", b, true)) return kNone;
    std::vector<double> terms;
    if (!rationalContinuedFraction(first.z.re, b, terms, kMaxRationalTerms))
        return ev.fail("(contfracr) Error: Syntax");
    return returnTerms(out, terms);
}

// ncr and npr take numbers or lists, element by element as the operators
// do (a list with a number, or two lists of one length).
Tag combinatorial(Eval& ev, const Args& a, const char* name, Complex (*kernel)(Complex, Complex), Value& out) {
    if (a.count != 2) return ev.fail("(%s) Error: Syntax", name);
    Value n, k;
    const Tag tn = ev.evaluate(a[0], n);
    if (!tn) return kNone;
    const Tag tk = ev.evaluate(a[1], k);
    if (!tk) return kNone;
    if (tn == kMatrix || tk == kMatrix) return ev.fail("(%s) Error: Data Type", name);
    if (tn == kComplex && tk == kComplex) {
        out = Value::scalar(kernel(n.z, k.z));
        return kComplex;
    }
    if (tn == kList && tk == kList && n.elements.size() != k.elements.size())
        return ev.fail("(%s) Error: Dimension", name);
    const size_t count = tn == kList ? n.elements.size() : k.elements.size();
    std::vector<Complex> result(count);
    for (size_t j = 0; j < count; ++j)
        result[j] = kernel(tn == kList ? n.elements[j] : n.z, tk == kList ? k.elements[j] : k.z);
    out = Value::list(std::move(result));
    return kList;
}

Tag bNcr(Eval& ev, const Args& a, Value& out) { return combinatorial(ev, a, "ncr", binomialCoefficient, out); }
Tag bNpr(Eval& ev, const Args& a, Value& out) { return combinatorial(ev, a, "npr", fallingFactorial, out); }

constexpr BuiltinEntry kNumberTheory[] = {
    {"gcd", bGcd},           {"rand", bRand, kChangesState},
    {"mod", bMod},           {"factor", bFactor},
    {"powermod", bPowerMod}, {"round", bRound},
    {"contfrac", bContFrac}, {"contfracr", bContFracR},
    {"ncr", bNcr},           {"npr", bNpr},
};

}  // namespace

std::span<const BuiltinEntry> numberTheoryBuiltins() { return kNumberTheory; }

}  // namespace vx
