#include "listmat/list_support.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "mathlib/complex.h"

namespace vx::listmat {
namespace {

bool evaluateKind(Eval& ev, Ref ref, const char* cmd, Tag kind, Value& out) {
    Tag tag = ev.evaluate(ref, out);
    if (!tag) return false;
    if (tag != kind) {
        ev.fail("(%s) Error: Data Type", cmd);
        return false;
    }
    return true;
}

// -1, 0 or 1; NaN after every number and equal to itself.
int compareParts(double a, double b) {
    const bool nanA = std::isnan(a), nanB = std::isnan(b);
    if (nanA || nanB) return nanA == nanB ? 0 : (nanA ? 1 : -1);
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

bool evaluateList(Eval& ev, Ref ref, const char* cmd, Value& out) { return evaluateKind(ev, ref, cmd, kList, out); }

bool evaluateMatrix(Eval& ev, Ref ref, const char* cmd, Value& out) {
    return evaluateKind(ev, ref, cmd, kMatrix, out);
}

bool evaluateNumber(Eval& ev, Ref ref, const char* cmd, Complex& out) {
    Value v;
    if (!evaluateKind(ev, ref, cmd, kComplex, v)) return false;
    out = v.z;
    return true;
}

bool normaliseIndex(Eval& ev, const char* cmd, Complex index, int n, Imaginary check, int& position) {
    if (check == Imaginary::Checked && index.im != 0.0) {
        ev.fail("(%s) Error: Complex Index", cmd);
        return false;
    }
    if (!isIntegral(index.re)) {
        ev.fail("(%s) Error: Non-Integral Index", cmd);
        return false;
    }
    if (n <= 0) {
        ev.fail("(%s) Error: Dimension", cmd);
        return false;
    }
    // Clamped as a double first: a huge index must not overflow the int.
    if (index.re < 0.0)
        position = 0;
    else if (index.re >= n)
        position = n - 1;
    else
        position = static_cast<int>(index.re);
    return true;
}

bool normaliseRange(Eval& ev, const char* cmd, Complex from, Complex to, int n, int& low, int& high) {
    if (!normaliseIndex(ev, cmd, from, n, Imaginary::Ignored, low)) return false;
    if (!normaliseIndex(ev, cmd, to, n, Imaginary::Ignored, high)) return false;
    if (low > high) std::swap(low, high);
    return true;
}

bool evaluateRange(Eval& ev, Ref from, Ref to, const char* cmd, int n, int& low, int& high) {
    Complex fromValue, toValue;
    if (!evaluateNumber(ev, from, cmd, fromValue) || !evaluateNumber(ev, to, cmd, toValue)) return false;
    return normaliseRange(ev, cmd, fromValue, toValue, n, low, high);
}

bool concatenateLists(Eval& ev, const Args& args, int first, const char* cmd, std::vector<Complex>& out) {
    Value v;
    for (int k = first; k < args.count; ++k) {
        if (!evaluateList(ev, args[k], cmd, v)) return false;
        out.insert(out.end(), v.elements.begin(), v.elements.end());
    }
    return true;
}

bool normaliseInsertPosition(Eval& ev, const char* cmd, Complex index, int n, int& position) {
    if (!isIntegral(index.re)) {
        ev.fail("(%s) Error: Non-Integral Index", cmd);
        return false;
    }
    if (index.re < 0.0)
        position = 0;
    else if (index.re > n)
        position = n;
    else
        position = static_cast<int>(index.re);
    return true;
}

bool integralEndpoint(Eval& ev, const char* cmd, Complex value, int& endpoint) {
    const double x = value.re;
    if (!(x >= static_cast<double>(INT32_MIN) && x <= static_cast<double>(INT32_MAX)) || x != std::trunc(x)) {
        ev.fail("(%s) Error: Non-Integral Endpoint", cmd);
        return false;
    }
    endpoint = static_cast<int>(x);
    return true;
}

const std::string* loopVariableName(Ref ref) {
    if (!ref.valid()) return nullptr;
    const Item& item = ref.item();
    if (item.kind != kVariable || item.special != SpecialName::None) return nullptr;
    return &item.name;
}

bool orderLess(Complex a, Complex b) {
    const int byReal = compareParts(a.re, b.re);
    if (byReal != 0) return byReal < 0;
    return compareParts(a.im, b.im) < 0;
}

}  // namespace vx::listmat
