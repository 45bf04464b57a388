#include "listmat/eigen.h"

#include <algorithm>
#include <string>

#include "engine/evaluator.h"
#include "listmat/row_reduction.h"

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

// The first basis vector of the null space of M - lambda_k I, where M is the
// local meigenvectors01 and lambda_k is element k of the list `values`.
// When rounding leaves no free column the null space is empty and the
// vector stays all zero: an eigenvector of zeros marks the failure without
// reading a row that does not exist.
bool eigenvectorOf(Eval& ev, const char* name, const std::string& values, int n, int k, std::vector<Complex>& vector) {
    Value basis;
    const std::string statement = "nullspace(meigenvectors01-ident(" + std::to_string(n) + ")*take(" + values + "," +
                                  std::to_string(k) + "))";
    Tag tag = evaluateText(ev, statement, basis);
    if (!tag) return false;
    if (tag != kMatrix) return ev.fail("(%s) Error: Data Type", name), false;
    vector.assign(static_cast<size_t>(n), Complex{});
    if (basis.rows > 0) std::copy_n(basis.elements.begin(), std::min(n, basis.columns), vector.begin());
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

Tag bEigenvectors(Eval& ev, const Args& a, Value& out) {
    const char* name = "eigenvectors";
    if (a.count != 1) return ev.fail("(eigenvectors) Error: Syntax");
    Value m;
    if (!matrixArgument(ev, a, name, m)) return kNone;
    LocalScope scope(ev.engine);
    if (scope.push("meigenvectors01", std::move(m)) < 0) return ev.fail(kTooManyLocals);
    Value values;
    Tag tag = evaluateText(ev, "eigenvalues(meigenvectors01)", values);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(eigenvectors) Error: Data Type");
    const int n = values.count();
    if (scope.push("seigenvectors01", std::move(values)) < 0) return ev.fail(kTooManyLocals);

    std::vector<Complex> result(static_cast<size_t>(n) * static_cast<size_t>(n));
    std::vector<Complex> vector;
    for (int k = 0; k < n; ++k) {
        if (ev.aborted()) return ev.failAborted();
        if (!eigenvectorOf(ev, name, "seigenvectors01", n, k, vector)) return kNone;
        std::copy(vector.begin(), vector.end(), result.begin() + static_cast<std::ptrdiff_t>(k) * n);
    }
    out = Value::matrix(n, n, std::move(result));
    return kMatrix;
}

// f(M) = P diag(f(lambda)) P^-1 with the eigenvectors as the columns of P.
Tag bMatfunc(Eval& ev, const Args& a, Value& out) {
    const char* name = "matfunc";
    if (a.count != 3) return ev.fail("(matfunc) Error: Syntax");
    const std::string* variable = itemName(a[2]);
    if (!variable) return ev.fail("(matfunc) Error: Syntax");
    const std::string var = *variable;
    Value m;
    if (!matrixArgument(ev, a, name, m)) return kNone;
    if (m.columns != m.rows) return ev.fail("(matfunc) Error: Not a square matrix");
    const int n = m.rows;

    LocalScope scope(ev.engine);
    const int matrixSlot = scope.push("meigenvectors01", std::move(m));
    if (matrixSlot < 0) return ev.fail(kTooManyLocals);
    Value values;
    Tag tag = evaluateText(ev, "eigenvalues(meigenvectors01)", values);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(matfunc) Error: Data Type");
    if (values.count() != n) return ev.fail("(matfunc) Unexpected Error");
    const int listSlot = scope.push(var, std::move(values));
    if (listSlot < 0) return ev.fail(kTooManyLocals);

    std::vector<Complex> p(static_cast<size_t>(n) * static_cast<size_t>(n));
    std::vector<Complex> vector;
    for (int k = 0; k < n; ++k) {
        if (ev.aborted()) return ev.failAborted();
        if (!eigenvectorOf(ev, name, var, n, k, vector)) return kNone;
        for (int r = 0; r < n; ++r) p[static_cast<size_t>(r) * n + k] = vector[static_cast<size_t>(r)];
    }
    Stores& stores = ev.engine.stores;
    stores.localMatrix[static_cast<size_t>(matrixSlot)].value = Value::matrix(n, n, std::move(p));

    Value f;
    tag = ev.evaluate(a[1], f);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(matfunc) Error: Data Type");
    if (f.count() != n) return ev.fail("(matfunc) Unexpected Error");
    stores.localList[static_cast<size_t>(listSlot)].value.elements = std::move(f.elements);

    return evaluateText(ev, "meigenvectors01*diagonal(" + var + ")*inverse(meigenvectors01)", out);
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
