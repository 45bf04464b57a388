// The 38 one-argument elementary functions. The inverse trigonometric and
// hyperbolic functions are their logarithmic formulas evaluated with our own
// ln, sqrt and power, so their branches are whatever those formulas give.
// Every quotient goes through cxDivide and may throw DivisionByZero.
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

Complex fnTan(Complex z) { return cxDivide(cxSin(z), cxCos(z)); }
Complex fnSec(Complex z) { return reciprocal(cxCos(z)); }
Complex fnCsc(Complex z) { return reciprocal(cxSin(z)); }
Complex fnCot(Complex z) { return cxDivide(cxCos(z), cxSin(z)); }

// -i ln(iz + sqrt(1 - z^2))
Complex fnAsin(Complex z) {
    return cxMultiply(kMinusI,
                      cxLn(cxAdd(cxMultiply(kI, z), cxSqrt(cxSubtract(kOne, square(z))))));
}
// -i ln(z + sqrt(z^2 - 1))
Complex fnAcos(Complex z) {
    return cxMultiply(kMinusI, cxLn(cxAdd(z, cxSqrt(cxSubtract(square(z), kOne)))));
}
// (i/2) ln((i + z) / (i - z)); atan(i) divides by an exact zero.
Complex fnAtan(Complex z) {
    return cxMultiply(cxDivide(kI, kTwo), cxLn(cxDivide(cxAdd(kI, z), cxSubtract(kI, z))));
}
Complex fnAsec(Complex z) { return fnAcos(reciprocal(z)); }
Complex fnAcsc(Complex z) { return fnAsin(reciprocal(z)); }
Complex fnAcot(Complex z) { return fnAtan(reciprocal(z)); }

Complex fnSinh(Complex z) { return cxDivide(cxSubtract(cxExp(z), cxExp(negate(z))), kTwo); }
Complex fnCosh(Complex z) { return cxDivide(cxAdd(cxExp(z), cxExp(negate(z))), kTwo); }
Complex fnTanh(Complex z) { return cxDivide(fnSinh(z), fnCosh(z)); }
Complex fnSech(Complex z) { return reciprocal(fnCosh(z)); }
Complex fnCsch(Complex z) { return reciprocal(fnSinh(z)); }
Complex fnCoth(Complex z) { return cxDivide(fnCosh(z), fnSinh(z)); }

// ln(z + sqrt(z^2 + 1))
Complex fnAsinh(Complex z) { return cxLn(cxAdd(z, cxSqrt(cxAdd(square(z), kOne)))); }
// ln(z + sqrt(z^2 - 1))
Complex fnAcosh(Complex z) { return cxLn(cxAdd(z, cxSqrt(cxSubtract(square(z), kOne)))); }
// 0.5 (ln(1 + z) - ln(1 - z))
Complex fnAtanh(Complex z) {
    return cxMultiply(Complex{0.5, 0.0}, cxSubtract(cxLn(cxAdd(kOne, z)), cxLn(cxSubtract(kOne, z))));
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
    {true, "sinh", fnSinh},     {true, "cosh", fnCosh},     {true, "tanh", fnTanh},
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
