// Statistics over a list of complex numbers: mean, median, sample variance,
// standard deviation, maximum and minimum. Complex data need no special
// case: the arithmetic is complex throughout and the ordering is `order`'s.
// An empty mean or a variance of fewer than two elements divides by an
// exact zero; that failure travels to the usual catchers.
#include <algorithm>

#include "listmat/list_support.h"
#include "listmat/listmat_builtins.h"
#include "mathlib/complex.h"

namespace vx {
namespace {

using namespace listmat;

bool readList(Eval& ev, const Args& a, const char* cmd, Value& list) {
    if (a.count != 1) {
        ev.fail("(%s) Error: Syntax", cmd);
        return false;
    }
    return evaluateList(ev, a[0], cmd, list);
}

Complex mean(const std::vector<Complex>& x) {
    Complex s{0.0, 0.0};
    for (const Complex& c : x) s = cxAdd(s, c);
    return cxDivide(s, Complex{static_cast<double>(x.size()), 0.0});
}

// Sum of complex squares of the deviations over n - 1; not the modulus.
Complex sampleVariance(const std::vector<Complex>& x) {
    const Complex m = mean(x);
    Complex s{0.0, 0.0};
    for (const Complex& c : x) s = cxAdd(s, cxPower(cxSubtract(c, m), 2.0));
    return cxDivide(s, Complex{static_cast<double>(x.size()) - 1.0, 0.0});
}

Tag bMean(Eval& ev, const Args& a, Value& out) {
    Value list;
    if (!readList(ev, a, "mean", list)) return kNone;
    out = Value::scalar(mean(list.elements));
    return kComplex;
}

Tag bMedian(Eval& ev, const Args& a, Value& out) {
    Value list;
    if (!readList(ev, a, "median", list)) return kNone;
    std::vector<Complex>& x = list.elements;
    std::sort(x.begin(), x.end(), orderLess);
    const size_t n = x.size();
    if (n == 0)
        out = Value::scalar(0.0);
    else if (n % 2 == 1)
        out = Value::scalar(x[n / 2]);
    else
        out = Value::scalar(cxDivide(cxAdd(x[n / 2], x[n / 2 - 1]), Complex{2.0, 0.0}));
    return kComplex;
}

Tag bVariance(Eval& ev, const Args& a, Value& out) {
    Value list;
    if (!readList(ev, a, "variance", list)) return kNone;
    out = Value::scalar(sampleVariance(list.elements));
    return kComplex;
}

Tag bStdDev(Eval& ev, const Args& a, Value& out) {
    Value list;
    if (!readList(ev, a, "stddev", list)) return kNone;
    out = Value::scalar(cxPower(sampleVariance(list.elements), 0.5));
    return kComplex;
}

// max and min scan from the first element; a tie keeps the earlier one.
Tag extreme(Eval& ev, const Args& a, Value& out, const char* cmd, bool greatest) {
    Value list;
    if (!readList(ev, a, cmd, list)) return kNone;
    const std::vector<Complex>& x = list.elements;
    if (x.empty()) return ev.fail("(%s) Error: Dimension", cmd);
    Complex best = x[0];
    for (size_t k = 1; k < x.size(); ++k)
        if (greatest ? orderLess(best, x[k]) : orderLess(x[k], best)) best = x[k];
    out = Value::scalar(best);
    return kComplex;
}

Tag bMax(Eval& ev, const Args& a, Value& out) { return extreme(ev, a, out, "max", true); }
Tag bMin(Eval& ev, const Args& a, Value& out) { return extreme(ev, a, out, "min", false); }

constexpr BuiltinEntry kStatistics[] = {
    {"mean", bMean}, {"median", bMedian}, {"variance", bVariance},
    {"stddev", bStdDev}, {"max", bMax},   {"min", bMin},
};

}  // namespace

std::span<const BuiltinEntry> statisticsBuiltins() { return kStatistics; }

}  // namespace vx
