// The 38 one-argument elementary functions. The inverse trigonometric and
// hyperbolic functions are their logarithmic formulas evaluated with our own
// ln, sqrt and power, so their branches are whatever those formulas give.
// Every quotient goes through cxDivide and may throw DivisionByZero.
// Where a textbook formula prints the right digits it is kept bit for bit;
// where it cancels or overflows (sinh(1e-100), tanh(1000), asinh(-1e8)) an
// equal expression or the C library's real function takes over.
#include "mathlib/elementary.h"

#include <array>
#include <cmath>

#include "mathlib/complex.h"

namespace vx {

namespace {

constexpr Complex kOne{1.0, 0.0};
constexpr Complex kTwo{2.0, 0.0};
constexpr Complex kI{0.0, 1.0};
constexpr Complex kMinusI{0.0, -1.0};

Complex negate(Complex z) { return {-z.re, -z.im}; }
Complex square(Complex z) { return cxPower(z, Complex{2.0, 0.0}); }
Complex reciprocal(Complex z) { return cxDivide(kOne, z); }

Complex fnLog(Complex z) { return cxDivide(cxLn(z), cxLn(Complex{10.0, 0.0})); }
Complex fnConj(Complex z) { return {z.re, -z.im}; }

// Where |Im z| > 20, sin/cos would be INF/INF; there tan is +-i to double
// precision plus a real part that underflows gracefully.
constexpr double kFlatHyperbolic = 20.0;

Complex tanFar(Complex z) {
    return {4.0 * exactSine(z.re) * exactCosine(z.re) * std::exp(-2.0 * std::fabs(z.im)), std::copysign(1.0, z.im)};
}

Complex fnTan(Complex z) {
    if (std::fabs(z.im) > kFlatHyperbolic) return tanFar(z);
    return cxDivide(cxSin(z), cxCos(z));
}
Complex fnSec(Complex z) { return reciprocal(cxCos(z)); }
Complex fnCsc(Complex z) { return reciprocal(cxSin(z)); }
Complex fnCot(Complex z) {
    if (std::fabs(z.im) > kFlatHyperbolic) return reciprocal(tanFar(z));
    return cxDivide(cxCos(z), cxSin(z));
}

// tanh(x+iy) for |x| > 20: +-1 to double precision, the imaginary part
// sin(2y)/cosh(2x) taken as 4 sin y cos y e^(-2|x|).
Complex tanhFar(Complex z) {
    return {std::copysign(1.0, z.re), 4.0 * exactSine(z.im) * exactCosine(z.im) * std::exp(-2.0 * std::fabs(z.re))};
}

Complex fnTanh(Complex z) {
    if (z.im == 0.0) return {std::tanh(z.re), 0.0};
    if (std::fabs(z.re) > kFlatHyperbolic) return tanhFar(z);
    return cxDivide(cxSinh(z), cxCosh(z));
}
Complex fnSech(Complex z) { return reciprocal(cxCosh(z)); }
Complex fnCsch(Complex z) { return reciprocal(cxSinh(z)); }
Complex fnCoth(Complex z) {
    if (std::fabs(z.re) > kFlatHyperbolic) return reciprocal(tanhFar(z));
    return cxDivide(cxCosh(z), cxSinh(z));
}

// The inverse functions are their logarithmic formulas, whose branches are
// the definition. Where a formula loses digits the same value is reached
// another way: real arguments inside the real domain take the C library's
// functions; otherwise the formula is kept, except that a^2 + c is formed as
// a product of differences next to its zeros, huge arguments are scaled
// down by a power of two before squaring, ln(a + s) next to 1 goes through
// log1p, and a + s that cancels is taken as c / (s - a).

// ln(1 + u), keeping the digits of a small u that 1 + u would drop.
Complex lnOnePlus(Complex u) {
    if (!(cxModulus(u) < 0.5)) return cxLn(cxAdd(kOne, u));
    return {0.5 * std::log1p(u.re * (2.0 + u.re) + u.im * u.im), cxArgument(cxAdd(kOne, u))};
}

// z = 2^k scaled, with |scaled| below 2^500 so that its square is finite.
struct Scaled {
    Complex z;
    int k = 0;
};

Scaled scaledDown(Complex z) {
    const double largest = std::fmax(std::fabs(z.re), std::fabs(z.im));
    if (!(largest > 0x1p500) || std::isinf(largest)) return {z, 0};
    const int k = std::ilogb(largest);
    return {{std::ldexp(z.re, -k), std::ldexp(z.im, -k)}, k};
}

// The constant c of a^2 + c for an argument scaled by 2^-k.
Complex scaledConstant(double c, int k) { return {std::ldexp(c, -2 * k), 0.0}; }

bool near(Complex z, Complex point) { return cxModulus(cxSubtract(z, point)) < 0.5; }

// ln(2^k (a + s)), s being the principal square root of a^2 + c 2^-2k
// (c = 1 or -1), as the formulas take it.
Complex lnSumWithRoot(Complex a, Complex s, double c, int k) {
    const double pi = 4.0 * std::atan(1.0);
    if (k == 0) {
        constexpr double kSmall = 0x1p-5;
        if (c > 0.0 && cxModulus(a) < kSmall)  // a + s = 1 + a + a^2 / (s + 1)
            return lnOnePlus(cxAdd(a, cxDivide(cxMultiply(a, a), cxAdd(s, kOne))));
        if (c < 0.0 && cxModulus(cxSubtract(a, kOne)) < kSmall)  // s is small too
            return lnOnePlus(cxAdd(cxSubtract(a, kOne), s));
    }
    const Complex scale{k * std::log(2.0), 0.0};
    const Complex w = cxAdd(a, s);
    if (cxModulus(w) * 16.0 >= cxModulus(a)) return k == 0 ? cxLn(w) : cxAdd(cxLn(w), scale);
    // a + s = c / (s - a): ln c - ln(s - a), brought back into (-pi, pi].
    const Complex l = cxAdd(cxLn(cxSubtract(s, a)), scale);
    double theta = (c > 0.0 ? 0.0 : pi) - l.im;
    if (theta > pi) theta -= 2.0 * pi;
    if (theta <= -pi) theta += 2.0 * pi;
    return {-l.re, theta};
}

// sqrt(z^2 + c), as power(z, 2) + c, or as (z - r)(z + r) next to a zero r.
Complex rootOfSquarePlus(Scaled t, double c, Complex zero) {
    if (t.k == 0 && (near(t.z, zero) || near(t.z, negate(zero))))
        return cxSqrt(cxMultiply(cxSubtract(t.z, zero), cxAdd(t.z, zero)));
    return cxSqrt(cxAdd(square(t.z), scaledConstant(c, t.k)));
}

// -i ln(iz + sqrt(1 - z^2))
Complex fnAsin(Complex z) {
    if (z.im == 0.0 && std::fabs(z.re) <= 1.0) return {std::asin(z.re), 0.0};
    const Scaled t = scaledDown(z);
    const Complex root = t.k == 0 && (near(t.z, kOne) || near(t.z, negate(kOne)))
                             ? cxSqrt(cxMultiply(cxSubtract(kOne, t.z), cxAdd(kOne, t.z)))
                             : cxSqrt(cxSubtract(scaledConstant(1.0, t.k), square(t.z)));
    return cxMultiply(kMinusI, lnSumWithRoot(cxMultiply(kI, t.z), root, 1.0, t.k));
}
// -i ln(z + sqrt(z^2 - 1))
Complex fnAcos(Complex z) {
    if (z.im == 0.0 && std::fabs(z.re) <= 1.0) return {std::acos(z.re), 0.0};
    const Scaled t = scaledDown(z);
    return cxMultiply(kMinusI, lnSumWithRoot(t.z, rootOfSquarePlus(t, -1.0, kOne), -1.0, t.k));
}
// (i/2) ln((i + z) / (i - z)); atan(i) divides by an exact zero. Near 0 the
// quotient is 1 + 2z / (i - z).
Complex fnAtan(Complex z) {
    if (z.im == 0.0) return {std::atan(z.re), 0.0};
    const Complex half{0.0, 0.5};
    if (cxModulus(z) < 0x1p-5) return cxMultiply(half, lnOnePlus(cxDivide(cxMultiply(kTwo, z), cxSubtract(kI, z))));
    return cxMultiply(cxDivide(kI, kTwo), cxLn(cxDivide(cxAdd(kI, z), cxSubtract(kI, z))));
}
Complex fnAsec(Complex z) { return fnAcos(reciprocal(z)); }
Complex fnAcsc(Complex z) { return fnAsin(reciprocal(z)); }
Complex fnAcot(Complex z) { return fnAtan(reciprocal(z)); }

// ln(z + sqrt(z^2 + 1))
Complex fnAsinh(Complex z) {
    if (z.im == 0.0) return {std::asinh(z.re), 0.0};
    const Scaled t = scaledDown(z);
    return lnSumWithRoot(t.z, rootOfSquarePlus(t, 1.0, kI), 1.0, t.k);
}
// ln(z + sqrt(z^2 - 1)); on the real line (acosh |x|, 0) from 1 up,
// (-acosh |x|, pi) from -1 down and (0, acos x) between.
Complex fnAcosh(Complex z) {
    if (z.im == 0.0) {
        const double x = z.re;
        if (x >= 1.0) return {std::acosh(x), 0.0};
        if (x <= -1.0) return {-std::acosh(-x), 4.0 * std::atan(1.0)};
        if (std::fabs(x) < 1.0) return {0.0, std::acos(x)};
    }
    const Scaled t = scaledDown(z);
    return lnSumWithRoot(t.z, rootOfSquarePlus(t, -1.0, kOne), -1.0, t.k);
}
// 0.5 (ln(1 + z) - ln(1 - z)); on the real line beyond +-1 that is
// (atanh(1/x), -+pi/2).
Complex fnAtanh(Complex z) {
    if (z.im == 0.0) {
        const double x = z.re;
        if (std::fabs(x) < 1.0) return {std::atanh(x), 0.0};
        if (std::fabs(x) > 1.0) return {std::atanh(1.0 / x), (x > 0.0 ? -2.0 : 2.0) * std::atan(1.0)};
    }
    const Complex half{0.5, 0.0};
    if (cxModulus(z) < 0x1p-5) return cxMultiply(half, cxSubtract(lnOnePlus(z), lnOnePlus(negate(z))));
    return cxMultiply(half, cxSubtract(cxLn(cxAdd(kOne, z)), cxLn(cxSubtract(kOne, z))));
}
Complex fnAsech(Complex z) { return fnAcosh(reciprocal(z)); }
Complex fnAcsch(Complex z) { return fnAsinh(reciprocal(z)); }
Complex fnAcoth(Complex z) { return fnAtanh(reciprocal(z)); }

Complex fnAbs(Complex z) { return {cxModulus(z), 0.0}; }
Complex fnArg(Complex z) { return {cxArgument(z), 0.0}; }
Complex fnIm(Complex z) { return {z.im, 0.0}; }
Complex fnRe(Complex z) { return {z.re, 0.0}; }
Complex fnFpart(Complex z) { return {z.re - std::floor(z.re), z.im - std::floor(z.im)}; }
Complex fnFloor(Complex z) { return {std::floor(z.re), std::floor(z.im)}; }
Complex fnCeil(Complex z) { return {std::ceil(z.re), std::ceil(z.im)}; }

// Parts strictly below 1e-10 in magnitude become 0; 1e-10 itself stays.
Complex fnChop(Complex z) {
    const double threshold = std::pow(10.0, -10.0);
    return {std::fabs(z.re) < threshold ? 0.0 : z.re, std::fabs(z.im) < threshold ? 0.0 : z.im};
}

// Search order is table order; matrixFunction marks the functions that,
// applied to a matrix, mean the matrix function rather than element-wise.
constexpr std::array<ElementaryEntry, 38> kTable{{
    {true, "log", fnLog},       {true, "ln", cxLn},         {true, "exp", cxExp},
    {true, "sqrt", cxSqrt},     {false, "conj", fnConj},    {true, "gamma", cxGamma},
    {true, "sin", cxSin},       {true, "cos", cxCos},       {true, "tan", fnTan},
    {true, "sec", fnSec},       {true, "csc", fnCsc},       {true, "cot", fnCot},
    {true, "asin", fnAsin},     {true, "acos", fnAcos},     {true, "atan", fnAtan},
    {true, "asec", fnAsec},     {true, "acsc", fnAcsc},     {true, "acot", fnAcot},
    {true, "sinh", cxSinh},     {true, "cosh", cxCosh},     {true, "tanh", fnTanh},
    {true, "sech", fnSech},     {true, "csch", fnCsch},     {true, "coth", fnCoth},
    {true, "asinh", fnAsinh},   {true, "acosh", fnAcosh},   {true, "atanh", fnAtanh},
    {true, "asech", fnAsech},   {true, "acsch", fnAcsch},   {true, "acoth", fnAcoth},
    {false, "abs", fnAbs},      {false, "arg", fnArg},      {false, "im", fnIm},
    {false, "re", fnRe},        {false, "fpart", fnFpart},  {false, "floor", fnFloor},
    {false, "ceil", fnCeil},    {false, "chop", fnChop},
}};

}  // namespace

std::span<const ElementaryEntry> elementaryTable() { return kTable; }

int findElementary(std::string_view name) {
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vx
