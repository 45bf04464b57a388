// List built-ins: generating, picking, cutting, reordering and joining
// lists, plus apply, takeitem and setitem on the elements of a matrix.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "engine/loop_passes.h"
#include "listmat/list_sets.h"
#include "listmat/list_support.h"
#include "listmat/listmat_builtins.h"
#include "mathlib/complex.h"

namespace vx {
namespace {

using namespace listmat;

// A generated list grows as it is computed rather than claiming the whole
// range up front, so a mistyped huge range can still be aborted.
constexpr long long kInitialReserve = 1 << 20;

Tag bListgen(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "listgen";
    if (a.count != 4) return ev.fail("(listgen) Error: Syntax");
    const std::string* name = loopVariableName(a[1]);
    if (!name) return ev.fail("(listgen) Error: Syntax");
    Complex fromValue, toValue;
    if (!evaluateNumber(ev, a[2], cmd, fromValue) || !evaluateNumber(ev, a[3], cmd, toValue)) return kNone;
    int from = 0, to = 0;
    if (!integralEndpoint(ev, cmd, fromValue, from) || !integralEndpoint(ev, cmd, toValue, to)) return kNone;
    // A downward range counts down, so the list holds the values in the
    // order the user wrote.
    const int step = from > to ? -1 : 1;
    const long long count = std::abs(static_cast<long long>(to) - from) + 1;
    if (count > kMaxValueElements) return ev.fail("(listgen) Error: Dimension");
    std::vector<Complex> elements;
    elements.reserve(static_cast<size_t>(std::min(count, kInitialReserve)));
    LocalScope scope(ev.engine);
    const int variable = scope.push(*name, Value::scalar(static_cast<double>(from)));
    if (variable < 0) return ev.fail(kTooManyLocals);
    const bool finished = runLoopPasses(ev, a[0], scope, variable, from, count, step,
                                        [&](Tag tag, const Value& v) {
                                            if (!tag) return false;
                                            if (tag != kComplex) return ev.fail("(listgen) Error: Data Type"), false;
                                            elements.push_back(v.z);
                                            return true;
                                        });
    if (!finished) return kNone;
    out = Value::list(std::move(elements));
    return kList;
}

Tag bTake(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "take";
    if (a.count != 2 && a.count != 3) return ev.fail("(take) Error: Syntax");
    Value list;
    if (!evaluateList(ev, a[0], cmd, list)) return kNone;
    const int n = list.count();
    if (a.count == 3) {
        int low = 0, high = 0;
        if (!evaluateRange(ev, a[1], a[2], cmd, n, low, high)) return kNone;
        out = Value::list(std::vector<Complex>(list.elements.begin() + low, list.elements.begin() + high + 1));
        return kList;
    }
    Value index;
    const Tag tag = ev.evaluate(a[1], index);
    if (!tag) return kNone;
    int p = 0;
    if (tag == kComplex) {
        if (!normaliseIndex(ev, cmd, index.z, n, Imaginary::Checked, p)) return kNone;
        out = Value::scalar(list.elements[static_cast<size_t>(p)]);
        return kComplex;
    }
    // A list or matrix of indices keeps its shape, each index replaced by
    // the element it names.
    for (Complex& c : index.elements) {
        if (!normaliseIndex(ev, cmd, c, n, Imaginary::Checked, p)) return kNone;
        c = list.elements[static_cast<size_t>(p)];
    }
    out = std::move(index);
    return out.tag;
}

// The elements whose flag is not set, in their order.
std::vector<Complex> unmarked(const std::vector<Complex>& elements, const std::vector<char>& marked) {
    std::vector<Complex> kept;
    kept.reserve(elements.size());
    for (size_t k = 0; k < elements.size(); ++k)
        if (!marked[k]) kept.push_back(elements[k]);
    return kept;
}

Tag bDrop(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "drop";
    if (a.count != 2 && a.count != 3) return ev.fail("(drop) Error: Syntax");
    Value list;
    if (!evaluateList(ev, a[0], cmd, list)) return kNone;
    const int n = list.count();
    std::vector<char> dropped(static_cast<size_t>(n), 0);
    if (a.count == 3) {
        int low = 0, high = 0;
        if (!evaluateRange(ev, a[1], a[2], cmd, n, low, high)) return kNone;
        std::fill(dropped.begin() + low, dropped.begin() + high + 1, 1);
    } else {
        Value index;
        const Tag tag = ev.evaluate(a[1], index);
        if (!tag) return kNone;
        if (tag == kMatrix) return ev.fail("(drop) Error: Data Type");
        if (tag == kComplex) index.elements.assign(1, index.z);
        // Every named position is dropped once, however often it is named.
        int p = 0;
        for (const Complex& c : index.elements) {
            if (!normaliseIndex(ev, cmd, c, n, Imaginary::Checked, p)) return kNone;
            dropped[static_cast<size_t>(p)] = 1;
        }
    }
    out = Value::list(unmarked(list.elements, dropped));
    return kList;
}

// The pair check of swap runs all three of its tests and reports the last
// one that failed: length, then imaginary parts, then integral real parts.
bool swapPositions(Eval& ev, const Value& pair, int n, int& first, int& second) {
    const char* fault = nullptr;
    if (pair.count() != 2) fault = "Dimension";
    const size_t present = std::min<size_t>(pair.elements.size(), 2);
    for (size_t k = 0; k < present; ++k)
        if (pair.elements[k].im != 0.0) fault = "Complex Index";
    for (size_t k = 0; k < present; ++k)
        if (!isIntegral(pair.elements[k].re)) fault = "Non-Integral Index";
    if (fault) {
        ev.fail("(swap) Error: %s", fault);
        return false;
    }
    return normaliseIndex(ev, "swap", pair.elements[0], n, Imaginary::Checked, first) &&
           normaliseIndex(ev, "swap", pair.elements[1], n, Imaginary::Checked, second);
}

Tag bSwap(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "swap";
    if (a.count < 1) return ev.fail("Error: Empty Stack");
    Value list;
    if (!evaluateList(ev, a[0], cmd, list)) return kNone;
    Value pair;
    for (int k = 1; k < a.count; ++k) {
        if (!evaluateList(ev, a[k], cmd, pair)) return kNone;
        int first = 0, second = 0;
        if (!swapPositions(ev, pair, list.count(), first, second)) return kNone;
        std::swap(list.elements[static_cast<size_t>(first)], list.elements[static_cast<size_t>(second)]);
    }
    out = std::move(list);
    return kList;
}

enum class Reorder { RotateLeft, RotateRight, Reverse, Order };

Tag reorder(Eval& ev, const Args& a, Value& out, const char* cmd, Reorder how) {
    if (a.count != 1) return ev.fail("(%s) Error: Syntax", cmd);
    Value list;
    if (!evaluateList(ev, a[0], cmd, list)) return kNone;
    std::vector<Complex>& e = list.elements;
    const bool rotation = how == Reorder::RotateLeft || how == Reorder::RotateRight;
    if (rotation && e.empty()) return ev.fail("(%s) Error: Dimension", cmd);
    switch (how) {
        case Reorder::RotateLeft: std::rotate(e.begin(), e.begin() + 1, e.end()); break;
        case Reorder::RotateRight: std::rotate(e.begin(), e.end() - 1, e.end()); break;
        case Reorder::Reverse: std::reverse(e.begin(), e.end()); break;
        case Reorder::Order: std::sort(e.begin(), e.end(), orderLess); break;
    }
    out = std::move(list);
    return kList;
}

Tag bRotateLeft(Eval& ev, const Args& a, Value& out) { return reorder(ev, a, out, "rotateleft", Reorder::RotateLeft); }
Tag bRotateRight(Eval& ev, const Args& a, Value& out) {
    return reorder(ev, a, out, "rotateright", Reorder::RotateRight);
}
Tag bReverse(Eval& ev, const Args& a, Value& out) { return reorder(ev, a, out, "reverse", Reorder::Reverse); }
Tag bOrder(Eval& ev, const Args& a, Value& out) { return reorder(ev, a, out, "order", Reorder::Order); }

Tag bInsert(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "insert";
    if (a.count != 3) return ev.fail("(insert) Error: Syntax");
    // The item first: only a number can be inserted.
    Complex item, position;
    Value list;
    if (!evaluateNumber(ev, a[2], cmd, item) || !evaluateList(ev, a[0], cmd, list) ||
        !evaluateNumber(ev, a[1], cmd, position))
        return kNone;
    int p = 0;
    if (!normaliseInsertPosition(ev, cmd, position, list.count(), p)) return kNone;
    list.elements.insert(list.elements.begin() + p, item);
    out = std::move(list);
    return kList;
}

Tag bJoin(Eval& ev, const Args& a, Value& out) {
    std::vector<Complex> joined;
    if (!concatenateLists(ev, a, 0, "join", joined)) return kNone;
    out = Value::list(std::move(joined));
    return kList;
}

Tag bApply(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "apply";
    if (a.count != 3) return ev.fail("(apply) Error: Syntax");
    const std::string* name = loopVariableName(a[2]);
    if (!name) return ev.fail("(apply) Error: Syntax");
    Value matrix;
    if (!evaluateMatrix(ev, a[0], cmd, matrix)) return kNone;
    LocalScope scope(ev.engine);
    const int variable = scope.push(*name, Value::scalar(0.0));
    if (variable < 0) return ev.fail(kTooManyLocals);
    Value v;
    for (Complex& element : matrix.elements) {
        if (ev.aborted()) return ev.failAborted();
        scope.complexAt(variable) = element;
        const Tag tag = ev.evaluate(a[1], v);
        if (!tag) return kNone;
        if (tag != kComplex) return ev.fail("(apply) Error: Data Type");
        element = v.z;
    }
    out = std::move(matrix);
    return kMatrix;
}

// The matrix of takeitem and setitem and the storage offset of the element
// its row and column name.
bool locateItem(Eval& ev, const Args& a, const char* cmd, Value& matrix, size_t& offset) {
    if (!evaluateMatrix(ev, a[0], cmd, matrix)) return false;
    Complex rowIndex, columnIndex;
    int row = 0, column = 0;
    if (!evaluateNumber(ev, a[1], cmd, rowIndex) ||
        !normaliseIndex(ev, cmd, rowIndex, matrix.rows, Imaginary::Checked, row) ||
        !evaluateNumber(ev, a[2], cmd, columnIndex) ||
        !normaliseIndex(ev, cmd, columnIndex, matrix.columns, Imaginary::Checked, column))
        return false;
    offset = static_cast<size_t>(row) * static_cast<size_t>(matrix.columns) + static_cast<size_t>(column);
    return true;
}

Tag bTakeItem(Eval& ev, const Args& a, Value& out) {
    if (a.count != 3) return ev.fail("(takeitem) Error: Syntax");
    Value matrix;
    size_t offset = 0;
    if (!locateItem(ev, a, "takeitem", matrix, offset)) return kNone;
    out = Value::scalar(matrix.elements[offset]);
    return kComplex;
}

Tag bSetItem(Eval& ev, const Args& a, Value& out) {
    const char* cmd = "setitem";
    if (a.count != 4) return ev.fail("(setitem) Error: Syntax");
    Value matrix;
    size_t offset = 0;
    Complex item;
    if (!locateItem(ev, a, cmd, matrix, offset) || !evaluateNumber(ev, a[3], cmd, item)) return kNone;
    matrix.elements[offset] = item;
    out = std::move(matrix);
    return kMatrix;
}

constexpr BuiltinEntry kLists[] = {
    {"listgen", bListgen},
    {"take", bTake},
    {"drop", bDrop},
    {"swap", bSwap},
    {"rotateleft", bRotateLeft},
    {"rotateright", bRotateRight},
    {"reverse", bReverse},
    {"insert", bInsert},
    {"join", bJoin},
    {"union", unionOfLists},
    {"intersection", intersectionOfLists},
    {"apply", bApply},
    {"takeitem", bTakeItem},
    {"setitem", bSetItem},
    {"order", bOrder},
};

}  // namespace

std::span<const BuiltinEntry> listBuiltins() { return kLists; }

}  // namespace vx
