#include "mathlib/numeric_args.h"

#include <cmath>

#include "mathlib/complex.h"

namespace vx {

bool readReal(Eval& ev, Ref arg, const char* name, double& out, bool integral) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return false;
    if (tag != kComplex) return ev.fail("(%s) Error: Data Type", name), false;
    if (v.z.im != 0.0) return ev.fail("(%s) Error: Complex Argument", name), false;
    if (integral && !isIntegral(v.z.re)) return ev.fail("(%s) Error: Non-Integral Argument", name), false;
    out = v.z.re;
    return true;
}

bool readList(Eval& ev, Ref arg, const char* name, std::vector<Complex>& out) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return false;
    if (tag != kList) return ev.fail("(%s) Error: Data Type", name), false;
    out = std::move(v.elements);
    return true;
}

std::int32_t lowInt32(double x) {
    if (!std::isfinite(x)) return 0;
    constexpr double kTwo32 = 4294967296.0;
    double r = std::fmod(std::trunc(x), kTwo32);
    if (r < 0.0) r += kTwo32;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(r));
}

std::int64_t clampToInt64(double x, std::int64_t lo, std::int64_t hi) {
    if (std::isnan(x)) return lo;
    const double t = std::trunc(x);
    if (t <= static_cast<double>(lo)) return lo;
    if (t >= static_cast<double>(hi)) return hi;
    return static_cast<std::int64_t>(t);
}

Tag failWithText(Eval& ev, const std::string& text) {
    return ev.error.setAnswerText(text);
}

}  // namespace vx
