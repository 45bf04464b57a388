#include "engine/operators.h"

#include "engine/session.h"
#include "mathlib/complex.h"

namespace vx {
namespace {

// The element operations are function objects so that each operator's
// handler is compiled with its arithmetic inlined.
struct AddOp {
    Complex operator()(Complex a, Complex b) const { return cxAdd(a, b); }
};
struct SubtractOp {
    Complex operator()(Complex a, Complex b) const { return cxSubtract(a, b); }
};
struct MultiplyOp {
    Complex operator()(Complex a, Complex b) const { return cxMultiply(a, b); }
};
struct DivideOp {
    Complex operator()(Complex a, Complex b) const { return cxDivide(a, b); }
};
struct PowerOp {
    Complex operator()(Complex a, Complex b) const { return cxPower(a, b); }
};

// Which combinations an arithmetic operator accepts beyond the element-wise
// ones: the matrix product for '*', matrix powers for '^'.
enum class Arith { AddSub, Multiply, Divide, Power };

// Both operands are evaluated, left then right, before either is looked at.
bool evaluateBoth(Eval& ev, const Args& a, Value& l, Value& r) {
    Tag tl = ev.evaluate(a[0], l);
    Tag tr = ev.evaluate(a[1], r);
    return tl && tr;
}

template <typename Op>
void applyLeftScalar(Complex s, Value& v, Op op) {
    for (Complex& c : v.elements) c = op(s, c);
}
template <typename Op>
void applyRightScalar(Value& v, Complex s, Op op) {
    for (Complex& c : v.elements) c = op(c, s);
}

Tag productOperands(Eval& ev, const Value& l, const Value& r, Value& out) {
    if (l.columns != r.rows) return ev.fail("(*) Error: Dimension");
    out = matrixProduct(l, r);
    return kMatrix;
}

template <typename Op>
Tag arithmetic(Eval& ev, const Args& a, Value& out, const char* symbol, Arith kind, Op op) {
    if (a.count != 2) return ev.fail("(%s) Error: Syntax", symbol);
    Value l, r;
    if (!evaluateBoth(ev, a, l, r)) return kNone;
    auto typeError = [&] { return ev.fail("(%s) Error: Type", symbol); };
    auto dimensionError = [&] { return ev.fail("(%s) Error: Dimension", symbol); };
    if (l.tag == kComplex) {
        if (r.tag == kComplex) {
            out.tag = kComplex;
            out.z = op(l.z, r.z);
            out.elements.clear();
            return kComplex;
        }
        if (r.tag == kMatrix && kind == Arith::Divide) return typeError();
        if (r.tag == kMatrix && kind == Arith::Power) return scalarToMatrixPower(ev, l, r, out);
        applyLeftScalar(l.z, r, op);
        out = std::move(r);
        return out.tag;
    }
    if (r.tag == kComplex) {
        if (l.tag == kMatrix && kind == Arith::Power) return matrixPower(ev, l, r, out);
        applyRightScalar(l, r.z, op);
        out = std::move(l);
        return out.tag;
    }
    if (l.tag != r.tag) return typeError();
    if (l.tag == kList) {
        if (l.count() != r.count()) return dimensionError();
    } else {
        if (kind == Arith::Multiply) return productOperands(ev, l, r, out);
        if (kind != Arith::AddSub) return typeError();
        if (l.columns != r.columns || l.rows != r.rows) return dimensionError();
    }
    for (size_t k = 0; k < l.elements.size(); ++k) l.elements[k] = op(l.elements[k], r.elements[k]);
    out = std::move(l);
    return out.tag;
}

Tag opAdd(Eval& ev, const Args& a, Value& out) { return arithmetic(ev, a, out, "+", Arith::AddSub, AddOp{}); }
Tag opSubtract(Eval& ev, const Args& a, Value& out) {
    return arithmetic(ev, a, out, "-", Arith::AddSub, SubtractOp{});
}
Tag opMultiply(Eval& ev, const Args& a, Value& out) {
    return arithmetic(ev, a, out, "*", Arith::Multiply, MultiplyOp{});
}
Tag opPower(Eval& ev, const Args& a, Value& out) { return arithmetic(ev, a, out, "^", Arith::Power, PowerOp{}); }
Tag opDivide(Eval& ev, const Args& a, Value& out) {
    try {
        return arithmetic(ev, a, out, "/", Arith::Divide, DivideOp{});
    } catch (const DivisionByZero&) {
        return ev.fail("Error: Division by Zero");
    }
}

// Unary operators act on every element; the operand is reused for the result.
template <typename F>
Tag unary(Eval& ev, const Args& a, Value& out, const char* symbol, F f) {
    if (a.count != 1) return ev.fail("(%s) Error: Syntax", symbol);
    Tag tag = ev.evaluate(a[0], out);
    if (tag == kComplex) {
        out.z = f(out.z);
    } else if (tag == kList || tag == kMatrix) {
        for (Complex& c : out.elements) c = f(c);
    } else if (tag) {
        return ev.fail("(%s) Error: Type", symbol);
    }
    return tag;
}

Tag opNegate(Eval& ev, const Args& a, Value& out) {
    return unary(ev, a, out, "-", [](Complex c) { return Complex{-c.re, -c.im}; });
}
Tag opFactorial(Eval& ev, const Args& a, Value& out) {
    return unary(ev, a, out, "!", [](Complex c) { return cxGamma(cxAdd(c, Complex{1.0, 0.0})); });
}

// ';' evaluates its operand with the output switched off and marks the
// statement's result as not to be printed. A failure that unwinds out of
// the operand is caught here, so that the mark survives it and a loop body
// ending in ';' lets its loop go on.
Tag opQuiet(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(;) Error: Syntax");
    Tag tag;
    {
        FlagScope silence(ev.engine.outputEnabled, 0);
        tag = evaluateGuarded(ev, a[0], out);
    }
    ev.engine.noPrint = 1;
    return tag;
}

using RealCompare = bool (*)(double, double);

Tag ordering(Eval& ev, const Args& a, Value& out, const char* symbol, RealCompare cmp) {
    if (a.count != 2) return ev.fail("(%s) Error: Syntax", symbol);
    Value l, r;
    if (!evaluateBoth(ev, a, l, r)) return kNone;
    if (l.tag != kComplex || r.tag != kComplex) return ev.fail("(%s) Error: Type", symbol);
    if (l.z.im != 0.0 || r.z.im != 0.0) return ev.fail("(%s) Error: Complex Argument", symbol);
    out = Value::scalar(cmp(l.z.re, r.z.re) ? 1.0 : 0.0);
    return kComplex;
}

Tag opLess(Eval& ev, const Args& a, Value& out) {
    return ordering(ev, a, out, "<", [](double x, double y) { return x < y; });
}
Tag opGreater(Eval& ev, const Args& a, Value& out) {
    return ordering(ev, a, out, ">", [](double x, double y) { return x > y; });
}
Tag opLessEqual(Eval& ev, const Args& a, Value& out) {
    return ordering(ev, a, out, "<=", [](double x, double y) { return x <= y; });
}
Tag opGreaterEqual(Eval& ev, const Args& a, Value& out) {
    return ordering(ev, a, out, ">=", [](double x, double y) { return x >= y; });
}

bool sameComplex(Complex a, Complex b) { return a.re == b.re && a.im == b.im; }

Tag equality(Eval& ev, const Args& a, Value& out, const char* symbol, bool wantEqual) {
    if (a.count != 2) return ev.fail("(%s) Error: Syntax", symbol);
    Value l, r;
    if (!evaluateBoth(ev, a, l, r)) return kNone;
    if (l.tag != r.tag) return ev.fail("(%s) Error: Type", symbol);
    bool equal;
    if (l.tag == kComplex) {
        equal = sameComplex(l.z, r.z);
    } else {
        equal = l.columns == r.columns && l.rows == r.rows && l.elements.size() == r.elements.size();
        for (size_t k = 0; equal && k < l.elements.size(); ++k) equal = sameComplex(l.elements[k], r.elements[k]);
    }
    out = Value::scalar(equal == wantEqual ? 1.0 : 0.0);
    return kComplex;
}

Tag opEqual(Eval& ev, const Args& a, Value& out) { return equality(ev, a, out, "==", true); }
Tag opNotEqual(Eval& ev, const Args& a, Value& out) { return equality(ev, a, out, "!=", false); }

struct OperatorEntry {
    char first, second;
    Handler handler;
};

constexpr OperatorEntry kOperators[] = {
    {'+', 0, opAdd},         {'-', 0, opSubtract},    {'*', 0, opMultiply},       {'/', 0, opDivide},
    {'^', 0, opPower},       {'_', 0, opNegate},      {'!', 0, opFactorial},      {';', 0, opQuiet},
    {'=', 0, opEqual},       {'=', '=', opEqual},     {'!', '=', opNotEqual},     {'<', '>', opNotEqual},
    {'>', '<', opNotEqual},  {'<', 0, opLess},        {'>', 0, opGreater},        {'<', '=', opLessEqual},
    {'=', '<', opLessEqual}, {'>', '=', opGreaterEqual}, {'=', '>', opGreaterEqual},
};

}  // namespace

Value matrixProduct(const Value& l, const Value& r) {
    std::vector<Complex> e(static_cast<size_t>(r.columns) * static_cast<size_t>(l.rows));
    for (int row = 0; row < l.rows; ++row)
        for (int col = 0; col < r.columns; ++col) {
            Complex sum{0.0, 0.0};
            for (int k = 0; k < l.columns; ++k) sum = cxAdd(sum, cxMultiply(l.at(row, k), r.at(k, col)));
            e[static_cast<size_t>(row) * r.columns + col] = sum;
        }
    return Value::matrix(r.columns, l.rows, std::move(e));
}

Handler operatorHandler(const char code[2]) {
    for (const OperatorEntry& e : kOperators)
        if (e.first == code[0] && e.second == code[1]) return e.handler;
    return nullptr;
}

}  // namespace vx
