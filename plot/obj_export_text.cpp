#include "plot/obj_export_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace vx {

void appendFixed6(std::string& out, float value) {
    const double x = value;
    // A float times 10^6 is exact in a double (24 + 20 bits of mantissa),
    // so rounding that product to an integer the way printf rounds (to
    // nearest, ties to even) gives printf's six decimals exactly.
    const double scaled = x * 1e6;
    if (std::isfinite(x) && std::fabs(scaled) < 9.0e18) {
        const auto units = static_cast<std::uint64_t>(std::nearbyint(std::fabs(scaled)));
        char digits[32];
        char* p = digits;
        if (std::signbit(x)) *p++ = '-';
        p = std::to_chars(p, digits + sizeof digits, units / 1000000).ptr;
        *p++ = '.';
        std::uint64_t fraction = units % 1000000;
        for (int k = 6; k-- > 0; fraction /= 10) p[k] = static_cast<char>('0' + fraction % 10);
        out.append(digits, p + 6);
        return;
    }
    // Huge values and the non-numbers: the general conversion, which is
    // specified to match printf.
    char digits[400];
    auto end = std::to_chars(digits, digits + sizeof digits, x, std::chars_format::fixed, 6).ptr;
    out.append(digits, end);
}

void ObjTextWriter::triple(std::string_view prefix, const float* xyz) {
    text_ += prefix;
    for (int a = 0; a < 3; ++a) {
        text_ += ' ';
        appendFixed6(text_, xyz[a]);
    }
    flushIfFull();
}

void ObjTextWriter::integer(long long n) {
    char digits[24];
    digits[0] = ' ';
    auto end = std::to_chars(digits + 1, digits + sizeof digits, n).ptr;
    text_.append(digits, end);
    flushIfFull();
}

void ObjTextWriter::flush() {
    if (!text_.empty() && std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) failed_ = true;
    text_.clear();
}

bool ObjTextWriter::finish() {
    flush();
    return !failed_;
}

}  // namespace vx
