// if, for, while, seq, sum and product: the language's branching and loops.
#include <algorithm>
#include <cmath>

#include "engine/engine_builtins.h"
#include "engine/evaluator.h"
#include "engine/loop_passes.h"
#include "engine/number_loop.h"
#include "engine/operators.h"
#include "engine/scalar_program.h"
#include "engine/session.h"
#include "mathlib/complex.h"

namespace vx {
namespace {

Tag bIf(Eval& ev, const Args& a, Value& out) {
    if (a.count < 1 || a.count > 3) return ev.fail("(if) Error: Syntax");
    Value c;
    Tag tag = ev.evaluate(a[0], c);
    if (!tag) return kNone;
    if (tag != kComplex) return ev.fail("(if) Error: Data Type");
    bool truth = isTrue(c.z);
    if (a.count == 1) {
        out = truth ? Value::scalar(1.0) : c;
        return kComplex;
    }
    if (truth) return ev.evaluate(a[1], out);
    if (a.count == 3) return ev.evaluate(a[2], out);
    out = c;
    return kComplex;
}

// The loop variable, read as a plain name without evaluating it.
const std::string* loopVariable(const Args& a, int k) { return itemName(a[k]); }

Tag bFor(Eval& ev, const Args& a, Value&) {
    if (a.count != 4 && a.count != 5) return ev.fail("(for) Error: Syntax");
    const std::string* name = loopVariable(a, 0);
    if (!name) return ev.fail("(for) Error: Syntax");
    double from, to, step = 1.0;
    if (!evaluateRealEndpoint(ev, from, a[1], "for") || !evaluateRealEndpoint(ev, to, a[2], "for")) return kNone;
    if (a.count == 5 && !evaluateRealEndpoint(ev, step, a[3], "for")) return kNone;
    Ref body = a[a.count - 1];
    LocalScope scope(ev.engine);
    int x = scope.push(*name, Value::scalar(from));
    if (x < 0) return ev.fail(kTooManyLocals);
    NumberLoop numbers;
    const bool compiled = numbers.compile(Ref{}, body);
    for (double v = from; v <= to; v += step) {
        if (ev.aborted()) return ev.failAborted();
        if (compiled) {
            const NumberLoop::Pass pass = numbers.runFor(ev, scope.complexAt(x), v, to, step);
            if (pass == NumberLoop::Pass::Ended) break;
            if (pass == NumberLoop::Pass::Stopped) return ev.failAborted();
            numbers.unbind();
        }
        scope.complexAt(x) = Complex{v, 0.0};
        runBodyWithPrinting(ev, body);
    }
    return ev.fail("(for) No Return Value");
}

Tag bWhile(Eval& ev, const Args& a, Value&) {
    if (a.count != 2 && a.count != 3) return ev.fail("(while) Error: Syntax");
    if (a.count == 3) runBodyWithPrinting(ev, a[0]);
    Ref condition = a[a.count - 2], body = a[a.count - 1];
    NumberLoop numbers;
    const bool compiled = numbers.compile(condition, body);
    for (;;) {
        if (ev.aborted()) return ev.failAborted();
        if (compiled) {
            const NumberLoop::Pass pass = numbers.run(ev);
            if (pass == NumberLoop::Pass::Ended) break;
            if (pass == NumberLoop::Pass::Stopped) return ev.failAborted();
            numbers.unbind();
        }
        Complex truth;
        if (!ev.evaluateScalar(condition, truth)) {
            Value c;
            Tag tag = ev.evaluate(condition, c);
            if (!tag) return kNone;
            if (tag != kComplex) return ev.fail("(while) Error: Data Type");
            truth = c.z;
        }
        if (!isTrue(truth)) break;
        if (!runBodyWithPrinting(ev, body)) break;
    }
    return ev.fail("(while) No Return Value");
}

Tag bSeq(Eval& ev, const Args& a, Value& out) {
    if (a.count < 1) return ev.fail("(seq) Error: Syntax");
    for (int k = 0; k < a.count - 1; ++k) {
        if (ev.aborted()) return ev.failAborted();
        runBodyWithPrinting(ev, a[k]);
    }
    Complex number;
    if (assignNumber(ev, a[a.count - 1], number)) {
        out = Value::scalar(number);
        return kComplex;
    }
    return ev.evaluate(a[a.count - 1], out);
}

// sum and product share everything but how a pass joins the accumulator.
enum class Fold { Sum, Product };

bool readIntegralEndpoint(Eval& ev, Ref root, const char* cmd, int& result) {
    double x;
    if (!evaluateRealEndpoint(ev, x, root, cmd)) return false;
    // Endpoints are 32-bit counters; anything else is not a usable endpoint.
    if (!(x >= -2147483648.0 && x <= 2147483647.0) || x != std::trunc(x)) {
        ev.fail("(%s) Error: Non-Integral Endpoint", cmd);
        return false;
    }
    result = static_cast<int>(x);
    return true;
}

Tag combine(Eval& ev, Fold fold, const char* cmd, Value& acc, const Value& v) {
    if (v.tag != acc.tag) return ev.fail("(%s) Error: Data Type", cmd);
    if (acc.tag == kComplex) {
        acc.z = fold == Fold::Sum ? cxAdd(acc.z, v.z) : cxMultiply(acc.z, v.z);
        return kComplex;
    }
    if (fold == Fold::Product && acc.tag == kMatrix) {
        if (acc.columns != v.rows) return ev.fail("Error: Dimension");
        acc = matrixProduct(acc, v);
        return kMatrix;
    }
    if (v.elements.size() < acc.elements.size()) return ev.fail("(%s) Error: Dimension", cmd);
    for (size_t k = 0; k < acc.elements.size(); ++k)
        acc.elements[k] = fold == Fold::Sum ? cxAdd(acc.elements[k], v.elements[k])
                                            : cxMultiply(acc.elements[k], v.elements[k]);
    return acc.tag;
}

Tag foldRange(Eval& ev, const Args& a, Value& out, Fold fold) {
    const char* cmd = fold == Fold::Sum ? "sum" : "product";
    if (a.count != 4) return ev.fail("(%s) Error: Syntax", cmd);
    const std::string* name = loopVariable(a, 1);
    if (!name) return ev.fail("(%s) Error: Syntax", cmd);
    int from, to;
    if (!readIntegralEndpoint(ev, a[2], cmd, from) || !readIntegralEndpoint(ev, a[3], cmd, to)) return kNone;
    LocalScope scope(ev.engine);
    int x = scope.push(*name, Value::scalar(from));
    if (x < 0) return ev.fail(kTooManyLocals);
    Ref f = a[0];
    if (!ev.evaluate(f, out)) return kNone;
    Tag last = out.tag;
    const long long passes = std::max(0LL, static_cast<long long>(to) - from);
    const bool finished = runLoopPasses(ev, f, scope, x, static_cast<long long>(from) + 1, passes, 1,
                                        [&](Tag tag, const Value& v) {
                                            last = tag;
                                            if (!tag) return true;  // a failed pass adds nothing
                                            return combine(ev, fold, cmd, out, v) != kNone;
                                        });
    if (!finished || !last) return kNone;
    return out.tag;
}

Tag bSum(Eval& ev, const Args& a, Value& out) { return foldRange(ev, a, out, Fold::Sum); }
Tag bProduct(Eval& ev, const Args& a, Value& out) { return foldRange(ev, a, out, Fold::Product); }

constexpr BuiltinEntry kControlFlow[] = {
    {"if", bIf}, {"for", bFor}, {"while", bWhile}, {"seq", bSeq}, {"sum", bSum}, {"product", bProduct},
};

}  // namespace

std::span<const BuiltinEntry> controlFlowBuiltins() { return kControlFlow; }

}  // namespace vx
