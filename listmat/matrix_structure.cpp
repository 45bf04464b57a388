// Matrix-structure built-ins: picking, dropping, swapping and inserting
// rows and columns, matrix <-> list conversion, generated and diagonal
// matrices. Rows and columns follow the index rules of the list built-ins.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <numeric>
#include <vector>

#include "listmat/list_support.h"
#include "listmat/listmat_builtins.h"

namespace vx {
namespace {

using namespace listmat;

enum class Axis { Rows, Columns };

int lineCount(const Value& m, Axis axis) { return axis == Axis::Rows ? m.rows : m.columns; }

// A new matrix made of the given rows (or columns) of m, in the given order.
Value pickLines(const Value& m, Axis axis, const std::vector<int>& lines) {
    const int picked = static_cast<int>(lines.size());
    std::vector<Complex> e;
    const int lineLength = axis == Axis::Rows ? m.columns : m.rows;
    e.reserve(static_cast<size_t>(picked) * static_cast<size_t>(lineLength));
    if (axis == Axis::Rows) {
        for (int line : lines) {
            auto row = m.elements.begin() + static_cast<std::ptrdiff_t>(line) * m.columns;
            e.insert(e.end(), row, row + m.columns);
        }
        return Value::matrix(m.columns, picked, std::move(e));
    }
    for (int r = 0; r < m.rows; ++r)
        for (int line : lines) e.push_back(m.at(r, line));
    return Value::matrix(picked, m.rows, std::move(e));
}

// droprow, takerow, dropcol and takecol: one index, a list of indices or a
// range; `take` keeps what is named, otherwise everything else is kept.
Tag pickOrDrop(Eval& ev, const Args& a, Value& out, const char* cmd, Axis axis, bool take) {
    if (a.count != 2 && a.count != 3) return ev.fail("(%s) Error: Syntax", cmd);
    Value m;
    if (!evaluateMatrix(ev, a[0], cmd, m)) return kNone;
    const int n = lineCount(m, axis);
    std::vector<int> named;
    if (a.count == 3) {
        int low = 0, high = 0;
        if (!evaluateRange(ev, a[1], a[2], cmd, n, low, high)) return kNone;
        named.resize(static_cast<size_t>(high - low + 1));
        std::iota(named.begin(), named.end(), low);
    } else {
        Value index;
        const Tag tag = ev.evaluate(a[1], index);
        if (!tag) return kNone;
        if (tag == kMatrix) return ev.fail("(%s) Error: Data Type", cmd);
        if (tag == kComplex) index.elements.assign(1, index.z);
        int p = 0;
        for (const Complex& c : index.elements) {
            if (!normaliseIndex(ev, cmd, c, n, Imaginary::Checked, p)) return kNone;
            named.push_back(p);
        }
    }
    if (take) {
        out = pickLines(m, axis, named);
        return kMatrix;
    }
    // A line named several times is dropped once.
    std::vector<char> dropped(static_cast<size_t>(n), 0);
    for (int p : named) dropped[static_cast<size_t>(p)] = 1;
    std::vector<int> kept;
    for (int k = 0; k < n; ++k)
        if (!dropped[static_cast<size_t>(k)]) kept.push_back(k);
    out = pickLines(m, axis, kept);
    return kMatrix;
}

Tag bDropRow(Eval& ev, const Args& a, Value& out) { return pickOrDrop(ev, a, out, "droprow", Axis::Rows, false); }
Tag bTakeRow(Eval& ev, const Args& a, Value& out) { return pickOrDrop(ev, a, out, "takerow", Axis::Rows, true); }
Tag bDropCol(Eval& ev, const Args& a, Value& out) { return pickOrDrop(ev, a, out, "dropcol", Axis::Columns, false); }
Tag bTakeCol(Eval& ev, const Args& a, Value& out) { return pickOrDrop(ev, a, out, "takecol", Axis::Columns, true); }

// swaprow and swapcol exchange entries of a permutation table pair by pair
// and then build the result from it.
Tag swapLines(Eval& ev, const Args& a, Value& out, const char* cmd, Axis axis) {
    if (a.count < 1) return ev.fail("Error: Empty Stack");
    Value m;
    if (!evaluateMatrix(ev, a[0], cmd, m)) return kNone;
    const int n = lineCount(m, axis);
    std::vector<int> table(static_cast<size_t>(n));
    std::iota(table.begin(), table.end(), 0);
    Value pair;
    for (int k = 1; k < a.count; ++k) {
        if (!evaluateList(ev, a[k], cmd, pair)) return kNone;
        if (pair.count() != 2) return ev.fail("(%s) Error: Dimension", cmd);
        int first = 0, second = 0;
        if (!normaliseIndex(ev, cmd, pair.elements[0], n, Imaginary::Ignored, first) ||
            !normaliseIndex(ev, cmd, pair.elements[1], n, Imaginary::Ignored, second))
            return kNone;
        std::swap(table[static_cast<size_t>(first)], table[static_cast<size_t>(second)]);
    }
    out = pickLines(m, axis, table);
    return kMatrix;
}

Tag bSwapRow(Eval& ev, const Args& a, Value& out) { return swapLines(ev, a, out, "swaprow", Axis::Rows); }
Tag bSwapCol(Eval& ev, const Args& a, Value& out) { return swapLines(ev, a, out, "swapcol", Axis::Columns); }

// insertrow and insertcol. The new line may be a list, a one-column or a
// one-row matrix; any other matrix cannot stand for one line.
Tag insertLine(Eval& ev, const Args& a, Value& out, const char* cmd, Axis axis) {
    if (a.count != 3) return ev.fail("(%s) Error: Syntax", cmd);
    Value line;
    const Tag tag = ev.evaluate(a[2], line);
    if (!tag) return kNone;
    if (tag == kComplex) return ev.fail("(%s) Error: Data Type", cmd);
    if (tag == kMatrix && line.columns != 1 && line.rows != 1) return ev.fail("(%s) Error: Dimension", cmd);
    Value m;
    if (!evaluateMatrix(ev, a[0], cmd, m)) return kNone;
    const int across = axis == Axis::Rows ? m.columns : m.rows;
    if (line.count() != across) return ev.fail("(%s) Error: Dimension", cmd);
    Complex positionValue;
    int p = 0;
    if (!evaluateNumber(ev, a[1], cmd, positionValue) ||
        !normaliseInsertPosition(ev, cmd, positionValue, lineCount(m, axis), p))
        return kNone;
    if (axis == Axis::Rows) {
        m.elements.insert(m.elements.begin() + static_cast<std::ptrdiff_t>(p) * m.columns, line.elements.begin(),
                          line.elements.end());
        out = Value::matrix(m.columns, m.rows + 1, std::move(m.elements));
        return kMatrix;
    }
    std::vector<Complex> e;
    e.reserve(m.elements.size() + line.elements.size());
    for (int r = 0; r < m.rows; ++r) {
        auto row = m.elements.begin() + static_cast<std::ptrdiff_t>(r) * m.columns;
        e.insert(e.end(), row, row + p);
        e.push_back(line.elements[static_cast<size_t>(r)]);
        e.insert(e.end(), row + p, row + m.columns);
    }
    out = Value::matrix(m.columns + 1, m.rows, std::move(e));
    return kMatrix;
}

Tag bInsertRow(Eval& ev, const Args& a, Value& out) { return insertLine(ev, a, out, "insertrow", Axis::Rows); }
Tag bInsertCol(Eval& ev, const Args& a, Value& out) { return insertLine(ev, a, out, "insertcol", Axis::Columns); }

Tag bMatList(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(matlist) Error: Syntax");
    Value m;
    if (!evaluateMatrix(ev, a[0], "matlist", m)) return kNone;
    if (m.columns != 1 && m.rows != 1) return ev.fail("(matlist) Error: Dimension");
    out = Value::list(std::move(m.elements));
    return kList;
}

bool evaluateEndpoints(Eval& ev, Ref fromRef, Ref toRef, int& from, int& to) {
    const char* cmd = "matgen";
    Complex fromValue, toValue;
    return evaluateNumber(ev, fromRef, cmd, fromValue) && evaluateNumber(ev, toRef, cmd, toValue) &&
           integralEndpoint(ev, cmd, fromValue, from) && integralEndpoint(ev, cmd, toValue, to);
}

Tag bMatGen(Eval& ev, const Args& a, Value& out) {
    if (a.count != 7) return ev.fail("(matgen) Error: Syntax");
    const std::string* rowName = loopVariableName(a[1]);
    const std::string* columnName = loopVariableName(a[4]);
    if (!rowName || !columnName) return ev.fail("(matgen) Error: Syntax");
    int rowFrom = 0, rowTo = 0, columnFrom = 0, columnTo = 0;
    if (!evaluateEndpoints(ev, a[2], a[3], rowFrom, rowTo) || !evaluateEndpoints(ev, a[5], a[6], columnFrom, columnTo))
        return kNone;
    // Unlike listgen, matgen does not turn a backward range around.
    if (rowTo < rowFrom || columnTo < columnFrom) return ev.fail("(matgen) Error: Empty Range");
    const long long rows = static_cast<long long>(rowTo) - rowFrom + 1;
    const long long columns = static_cast<long long>(columnTo) - columnFrom + 1;
    if (rows > kMaxValueElements || columns > kMaxValueElements || rows * columns > kMaxValueElements)
        return ev.fail("(matgen) Error: Dimension");
    std::vector<Complex> e;
    e.reserve(static_cast<size_t>(std::min(rows * columns, 1LL << 20)));
    LocalScope scope(ev.engine);
    const int rowVariable = scope.push(*rowName, Value::scalar(static_cast<double>(rowFrom)));
    if (rowVariable < 0) return ev.fail(kTooManyLocals);
    const int columnVariable = scope.push(*columnName, Value::scalar(static_cast<double>(columnFrom)));
    if (columnVariable < 0) return ev.fail(kTooManyLocals);
    Value v;
    for (long long r = rowFrom; r <= rowTo; ++r) {
        for (long long c = columnFrom; c <= columnTo; ++c) {
            if (ev.aborted()) return ev.failAborted();
            scope.complexAt(rowVariable) = Complex{static_cast<double>(r), 0.0};
            scope.complexAt(columnVariable) = Complex{static_cast<double>(c), 0.0};
            const Tag tag = ev.evaluate(a[0], v);
            if (!tag) return kNone;
            if (tag != kComplex) return ev.fail("(matgen) Error: Data Type");
            e.push_back(v.z);
        }
    }
    out = Value::matrix(static_cast<int>(columns), static_cast<int>(rows), std::move(e));
    return kMatrix;
}

Tag bDiagonal(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(diagonal) Error: Syntax");
    Value list;
    if (!evaluateList(ev, a[0], "diagonal", list)) return kNone;
    const long long n = list.count();
    if (n * n > kMaxValueElements) return ev.fail("(diagonal) Error: Dimension");
    out = Value::matrix(static_cast<int>(n), static_cast<int>(n), std::vector<Complex>(static_cast<size_t>(n) * static_cast<size_t>(n)));
    for (int k = 0; k < static_cast<int>(n); ++k) out.at(k, k) = list.elements[static_cast<size_t>(k)];
    return kMatrix;
}

constexpr BuiltinEntry kMatrixStructure[] = {
    {"droprow", bDropRow},     {"takerow", bTakeRow},   {"dropcol", bDropCol},     {"takecol", bTakeCol},
    {"swaprow", bSwapRow},     {"swapcol", bSwapCol},   {"insertrow", bInsertRow}, {"insertcol", bInsertCol},
    {"matlist", bMatList},     {"matgen", bMatGen},     {"diagonal", bDiagonal},
};

}  // namespace

std::span<const BuiltinEntry> matrixStructureBuiltins() { return kMatrixStructure; }

}  // namespace vx
