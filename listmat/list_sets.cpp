#include "listmat/list_sets.h"

#include <algorithm>
#include <cmath>

#include "listmat/list_support.h"

namespace vx::listmat {
namespace {

struct Keyed {
    double re;
    double im;
    int position;
};

// Calls visit(begin, end) for every run of equal values, each run in
// ascending position order. Values with a NaN part form no runs and are
// passed to lonely(position) instead.
template <typename Run, typename Lonely>
void forEachRun(const std::vector<Complex>& elements, Run visit, Lonely lonely) {
    std::vector<Keyed> keyed;
    keyed.reserve(elements.size());
    for (size_t k = 0; k < elements.size(); ++k) {
        const Complex& z = elements[k];
        if (std::isnan(z.re) || std::isnan(z.im))
            lonely(static_cast<int>(k));
        else
            keyed.push_back(Keyed{z.re, z.im, static_cast<int>(k)});
    }
    // Without NaNs, < on the parts is a strict weak order whose equivalence
    // is exactly == on both parts.
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.re != b.re) return a.re < b.re;
        if (a.im != b.im) return a.im < b.im;
        return a.position < b.position;
    });
    for (size_t start = 0; start < keyed.size();) {
        size_t end = start + 1;
        while (end < keyed.size() && keyed[end].re == keyed[start].re && keyed[end].im == keyed[start].im) ++end;
        visit(keyed.data() + start, keyed.data() + end);
        start = end;
    }
}

Value positionList(const std::vector<int>& positions) {
    std::vector<Complex> elements;
    elements.reserve(positions.size());
    for (int p : positions) elements.push_back(Complex{static_cast<double>(p), 0.0});
    return Value::list(std::move(elements));
}

// Binds the two temporaries and evaluates the selection built over them.
Tag selectThroughTemporaries(Eval& ev, const char* listName, std::vector<Complex> elements,
                             const char* positionsName, const std::vector<int>& positions, const char* call,
                             Value& out) {
    LocalScope scope(ev.engine);
    if (scope.push(listName, Value::list(std::move(elements))) < 0) return ev.fail(kTooManyLocals);
    if (scope.push(positionsName, positionList(positions)) < 0) return ev.fail(kTooManyLocals);
    Expression selection = parseInternal(call);
    return ev.evaluate(Ref{&selection, selection.root()}, out);
}

}  // namespace

std::vector<int> repeatedPositions(const std::vector<Complex>& elements) {
    std::vector<int> repeats;
    forEachRun(
        elements,
        [&](const Keyed* begin, const Keyed* end) {
            for (const Keyed* k = begin + 1; k < end; ++k) repeats.push_back(k->position);
        },
        [](int) {});
    std::sort(repeats.begin(), repeats.end());
    return repeats;
}

std::vector<int> commonPositions(const std::vector<Complex>& elements, int required) {
    std::vector<int> common;
    forEachRun(
        elements,
        [&](const Keyed* begin, const Keyed* end) {
            // The member at rank r has end - begin - r equal values from it on.
            const long long size = end - begin;
            const long long rank = size - required;
            if (rank >= 0 && rank < size) common.push_back(begin[rank].position);
        },
        [&](int position) {
            if (required == 1) common.push_back(position);
        });
    std::sort(common.begin(), common.end());
    return common;
}

Tag unionOfLists(Eval& ev, const Args& args, Value& out) {
    std::vector<Complex> joined;
    if (!concatenateLists(ev, args, 0, "union", joined)) return kNone;
    std::vector<int> repeats = repeatedPositions(joined);
    return selectThroughTemporaries(ev, "unionset01", std::move(joined), "unionset02", repeats,
                                    "drop(unionset01,unionset02)", out);
}

Tag intersectionOfLists(Eval& ev, const Args& args, Value& out) {
    std::vector<Complex> joined;
    Expression removeRepeats = parseInternal("union(fintersect01)");
    Value argument, unique;
    for (int k = 0; k < args.count; ++k) {
        if (!evaluateList(ev, args[k], "intersection", argument)) return kNone;
        LocalScope scope(ev.engine);
        if (scope.push("fintersect01", std::move(argument)) < 0) return ev.fail(kTooManyLocals);
        if (!ev.evaluate(Ref{&removeRepeats, removeRepeats.root()}, unique)) return kNone;
        joined.insert(joined.end(), unique.elements.begin(), unique.elements.end());
    }
    std::vector<int> common = commonPositions(joined, args.count);
    return selectThroughTemporaries(ev, "fintersect01", std::move(joined), "fintersect02", common,
                                    "take(fintersect01,fintersect02)", out);
}

}  // namespace vx::listmat
