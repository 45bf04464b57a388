#include "listmat/list_sets.h"

#include <algorithm>
#include <cmath>

#include "listmat/list_support.h"
#include "listmat/value_set.h"

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

// The elements without repeats, each value at its first occurrence (a
// value with a NaN part repeats nothing and stays).
static std::vector<Complex> dropRepeats(const std::vector<Complex>& elements) {
    std::vector<Complex> kept;
    ValueSet set(elements.size());
    for (const Complex& z : elements)
        if (std::isnan(z.re) || std::isnan(z.im) || set.insert(z, 0)) kept.push_back(z);
    return kept;
}

std::vector<Complex> commonValues(const std::vector<Value>& lists) {
    const std::vector<Complex>& first = lists.front().elements;
    if (lists.size() == 1) return dropRepeats(first);
    // Each distinct value of the first list carries the number of the last
    // list it has been seen in; it stays a candidate while that number
    // keeps up with the lists read so far.
    std::vector<Complex> candidates;
    ValueSet set(first.size());
    for (const Complex& z : first)
        if (!std::isnan(z.re) && !std::isnan(z.im) && set.insert(z, static_cast<int>(candidates.size())))
            candidates.push_back(z);
    std::vector<int> seenIn(candidates.size(), 0);
    for (size_t k = 1; k < lists.size(); ++k)
        for (const Complex& z : lists[k].elements) {
            int c = set.find(z);
            if (c >= 0 && seenIn[static_cast<size_t>(c)] == static_cast<int>(k) - 1)
                seenIn[static_cast<size_t>(c)] = static_cast<int>(k);
        }
    std::vector<Complex> common;
    const int last = static_cast<int>(lists.size()) - 1;
    for (size_t c = 0; c < candidates.size(); ++c)
        if (seenIn[c] == last) common.push_back(candidates[c]);
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
    std::vector<Value> lists(static_cast<size_t>(args.count));
    for (int k = 0; k < args.count; ++k)
        if (!evaluateList(ev, args[k], "intersection", lists[static_cast<size_t>(k)])) return kNone;
    out = Value::list(lists.empty() ? std::vector<Complex>{} : commonValues(lists));
    return kList;
}

}  // namespace vx::listmat
