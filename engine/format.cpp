#include "engine/format.h"

#include <cstdio>

namespace vx {

std::string formatNumber(double value, int digits) {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%iG", digits);
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    // The exponent always has at least three digits: 1E-020, 1.5E+015.
    std::string s(text);
    size_t e = s.find('E');
    if (e != std::string::npos && e + 2 < s.size() + 1) {
        size_t digitsStart = e + 2;  // after the sign
        size_t exponentDigits = s.size() - digitsStart;
        if (exponentDigits < 3) s.insert(digitsStart, 3 - exponentDigits, '0');
    }
    return s;
}

std::string formatComplex(Complex z, int digits) {
    if (z.im == 0.0) return z.re == 0.0 ? std::string("0") : formatNumber(z.re, digits);
    if (z.re == 0.0) return formatNumber(z.im, digits) + "i";
    return formatNumber(z.re, digits) + "+" + formatNumber(z.im, digits) + "i";
}

static void appendElements(std::string& out, const Complex* begin, const Complex* end, int digits) {
    for (const Complex* c = begin; c != end; ++c) {
        if (c != begin) out += ',';
        out += formatComplex(*c, digits);
    }
}

std::string formatList(const std::vector<Complex>& elements, int digits) {
    std::string out = "{";
    appendElements(out, elements.data(), elements.data() + elements.size(), digits);
    out += '}';
    return out;
}

std::string formatMatrix(int columns, int rows, const std::vector<Complex>& elements, int digits) {
    std::string out = "[";
    for (int r = 0; r < rows; ++r) {
        const Complex* row = elements.data() + static_cast<size_t>(r) * columns;
        out += '[';
        appendElements(out, row, row + columns, digits);
        out += ']';
    }
    out += ']';
    return out;
}

std::string formatValue(const Value& value, int digits) {
    switch (value.tag) {
        case kComplex: return formatComplex(value.z, digits);
        case kList: return formatList(value.elements, digits);
        case kMatrix: return formatMatrix(value.columns, value.rows, value.elements, digits);
        default: return std::string();
    }
}

}  // namespace vx
