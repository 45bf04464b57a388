#include "listmat/eigen.h"

#include <algorithm>
#include <string>

#include "engine/evaluator.h"
#include "listmat/eigenvector_basis.h"
#include "listmat/matrix_functions.h"
#include "listmat/row_reduction.h"
#include "mathlib/linear_algebra.h"

namespace vx {
namespace {

// Evaluates a fixed internal statement over the locals bound so far.
Tag evaluateText(Eval& ev, const std::string& statement, Value& out) {
    const Expression e = parseInternal(statement);
    return ev.evaluate(Ref{&e, e.root()}, out);
}

// Evaluates the first argument, which must be a matrix.
bool matrixArgument(Eval& ev, const Args& a, const char* name, Value& m) {
    Tag tag = ev.evaluate(a[0], m);
    if (!tag) return false;
    if (tag != kMatrix) return ev.fail("(%s) Error: Data Type", name), false;
    return true;
}

Tag bRref(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(rref) Error: Syntax");
    Value m;
    if (!matrixArgument(ev, a, "rref", m)) return kNone;
    std::vector<Complex> r;
    if (!reducedRowEchelon(m.elements, m.rows, m.columns, ev.engine.abortRequested, r)) return ev.failAborted();
    out = Value::matrix(m.columns, m.rows, std::move(r));
    return kMatrix;
}

Tag bNullspace(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(nullspace) Error: Syntax");
    Value m;
    if (!matrixArgument(ev, a, "nullspace", m)) return kNone;
    LocalScope scope(ev.engine);
    if (scope.push("mnullspace01", std::move(m)) < 0) return ev.fail(kTooManyLocals);
    Value r;
    Tag tag = evaluateText(ev, "rref(mnullspace01)", r);
    if (!tag) return kNone;
    if (tag != kMatrix) return ev.fail("(nullspace) Error: Data Type");
    int basisRows = 0;
    std::vector<Complex> basis = nullspaceFromEchelon(r.elements, r.rows, r.columns, basisRows);
    out = basisRows == 0 ? Value::matrix(0, 0, {}) : Value::matrix(r.columns, basisRows, std::move(basis));
    return kMatrix;
}

// The eigenvector rows, or false with the message already given.
bool eigenvectorsOf(Eval& ev, std::span<const Complex> a, int n, const std::vector<Complex>& values,
                    EigenvectorSet& set, const char* notFinite) {
    switch (eigenvectorRows(a, n, values, ev.engine.abortRequested, set)) {
        case EigenvectorStatus::Done: return true;
        case EigenvectorStatus::Aborted: return ev.failAborted(), false;
        case EigenvectorStatus::NotFinite: return ev.fail(notFinite), false;
    }
    return false;
}

Tag bEigenvectors(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(eigenvectors) Error: Syntax");
    Value m;
    if (!matrixArgument(ev, a, "eigenvectors", m)) return kNone;
    std::vector<Complex> values;
    if (!eigenvaluesOf(ev, m, values)) return kNone;
    EigenvectorSet set;
    if (!eigenvectorsOf(ev, m.elements, m.rows, values, set, "(eigenvectors) Error: Unable to converge")) return kNone;
    const int n = static_cast<int>(values.size());
    out = Value::matrix(n, n, std::move(set.rows));
    return kMatrix;
}

bool isVariableNamed(Ref r, const std::string& name) {
    return r.valid() && r.item().kind == kVariable && r.item().name == name;
}

Ref operand(Ref r, int k) {
    return Ref{r.expr, r.expr->operandRoots[static_cast<size_t>(r.item().operandStart + k)]};
}

enum class Form { Direct, ThroughBasis, Failed };

// Whether expr is f(var) for a function with a method of its own, or
// var ^ p for a number p (evaluated with var bound to the eigenvalues).
Form recogniseFunction(Eval& ev, Ref expr, const std::string& var, MatrixFunction& f, Complex& p) {
    const Item& item = expr.item();
    if (item.kind == kFunction && item.count == 1 && findMatrixFunction(item.name, f))
        return isVariableNamed(operand(expr, 0), var) ? Form::Direct : Form::ThroughBasis;
    if (item.kind != kOperator || item.code[0] != '^' || item.count != 2 || !isVariableNamed(operand(expr, 0), var))
        return Form::ThroughBasis;
    Value exponent;
    const Tag tag = ev.evaluate(operand(expr, 1), exponent);
    if (!tag) return Form::Failed;
    if (tag != kComplex) return Form::ThroughBasis;
    f = MatrixFunction::Power;
    p = exponent.z;
    return Form::Direct;
}

// f(M) for an expression f of the eigenvalue list bound to var. The
// exponential, square root, logarithms, sine, cosine, sinh, cosh and powers
// use methods that hold for every matrix (P diag(f(lambda)) P^-1 needs an
// eigenvector basis, which repeated eigenvalues made singular and a
// defective matrix does not have); any other expression goes through the
// basis and fails clearly when there is none.
Tag bMatfunc(Eval& ev, const Args& a, Value& out) {
    if (a.count != 3) return ev.fail("(matfunc) Error: Syntax");
    const std::string* variable = itemName(a[2]);
    if (!variable) return ev.fail("(matfunc) Error: Syntax");
    const std::string var = *variable;
    Value m;
    if (!matrixArgument(ev, a, "matfunc", m)) return kNone;
    if (m.columns != m.rows) return ev.fail("(matfunc) Error: Not a square matrix");
    const int n = m.rows;
    std::vector<Complex> values;
    if (!eigenvaluesOf(ev, m, values)) return kNone;

    LocalScope scope(ev.engine);
    if (scope.push(var, Value::list(values)) < 0) return ev.fail(kTooManyLocals);
    MatrixFunction f = MatrixFunction::Exp;
    Complex p{};
    const Form form = recogniseFunction(ev, a[1], var, f, p);
    if (form == Form::Failed) return kNone;
    std::vector<Complex> result;
    const bool direct = form == Form::Direct;
    if (direct && applyMatrixFunction(f, p, m.elements, n, values, false, result) == DirectStatus::Done) {
        out = Value::matrix(n, n, std::move(result));
        return kMatrix;
    }

    Value fv;
    const Tag tag = ev.evaluate(a[1], fv);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(matfunc) Error: Data Type");
    if (fv.count() != n) return ev.fail("(matfunc) Unexpected Error");
    EigenvectorSet set;
    if (!eigenvectorsOf(ev, m.elements, n, values, set, "(matfunc) Error: Unable to converge")) return kNone;
    if (!applyThroughEigenbasis(m.elements, n, values, fv.elements, set.rows, result) &&
        !(direct && applyMatrixFunction(f, p, m.elements, n, values, true, result) == DirectStatus::Done))
        return ev.fail("(matfunc) Error: Not a diagonalizable matrix");
    out = Value::matrix(n, n, std::move(result));
    return kMatrix;
}

constexpr BuiltinEntry kRowReduction[] = {
    {"matfunc", bMatfunc},
    {"eigenvectors", bEigenvectors},
    {"nullspace", bNullspace},
    {"rref", bRref},
};

}  // namespace

std::span<const BuiltinEntry> rowReductionBuiltins() { return kRowReduction; }

}  // namespace vx
