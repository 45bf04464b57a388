#pragma once
// Double-double arithmetic: a number is the unevaluated sum hi + lo of two
// doubles, about 106 significant bits. The elimination determinant and the
// Berkowitz polynomial accumulate in it so that the large intermediate
// products of integer matrices cancel exactly instead of leaving rounding
// noise where the result is small (or zero).
#include <cmath>

#include "engine/value.h"

namespace vx {

struct Wide {
    double hi = 0.0, lo = 0.0;
};

inline Wide twoSum(double a, double b) {
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}
inline Wide quickTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}
// Exact: hi is the rounded product, lo its rounding error.
inline Wide twoProduct(double a, double b) {
    const double p = a * b;
    return {p, std::fma(a, b, -p)};
}
inline Wide wideNegate(Wide a) { return {-a.hi, -a.lo}; }
inline Wide wideAdd(Wide a, Wide b) {
    Wide s = twoSum(a.hi, b.hi);
    const Wide t = twoSum(a.lo, b.lo);
    s = quickTwoSum(s.hi, s.lo + t.hi);
    return quickTwoSum(s.hi, s.lo + t.lo);
}
inline Wide wideTimes(Wide a, double b) {
    const Wide p = twoProduct(a.hi, b);
    return quickTwoSum(p.hi, p.lo + a.lo * b);
}
inline Wide wideTimes(Wide a, Wide b) {
    const Wide p = twoProduct(a.hi, b.hi);
    return quickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}
// a / b rounded to a double, with one correction step.
inline double wideDivide(Wide a, Wide b) {
    const double q = a.hi / b.hi;
    const Wide r = wideAdd(a, wideNegate(wideTimes(b, q)));
    return q + r.hi / b.hi;
}

struct WideComplex {
    Wide re, im;
};

inline WideComplex widen(Complex z) { return {{z.re, 0.0}, {z.im, 0.0}}; }
inline Complex narrow(WideComplex z) { return {z.re.hi + z.re.lo, z.im.hi + z.im.lo}; }
inline WideComplex wideNegate(WideComplex z) { return {wideNegate(z.re), wideNegate(z.im)}; }
inline WideComplex wideAdd(WideComplex a, WideComplex b) { return {wideAdd(a.re, b.re), wideAdd(a.im, b.im)}; }
inline WideComplex wideTimes(WideComplex a, Complex b) {
    return {wideAdd(wideTimes(a.re, b.re), wideNegate(wideTimes(a.im, b.im))),
            wideAdd(wideTimes(a.re, b.im), wideTimes(a.im, b.re))};
}
inline WideComplex wideTimes(WideComplex a, WideComplex b) {
    return {wideAdd(wideTimes(a.re, b.re), wideNegate(wideTimes(a.im, b.im))),
            wideAdd(wideTimes(a.re, b.im), wideTimes(a.im, b.re))};
}

}  // namespace vx
