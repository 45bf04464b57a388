#include "mathlib/polynomial.h"

#include "engine/format.h"
#include "mathlib/complex.h"

namespace vx {

bool isZeroPoly(const Poly& p) {
    for (const Complex& c : p)
        if (c.re != 0.0 || c.im != 0.0) return false;
    return true;
}

Poly polyProduct(const Poly& a, const Poly& b) {
    if (a.empty() && b.empty()) return {};
    Poly r(a.size() + b.size() - 1, Complex{0.0, 0.0});
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j) r[i + j] = cxAdd(r[i + j], cxMultiply(a[i], b[j]));
    return r;
}

Poly polySum(const Poly& a, const Poly& b) {
    const Poly& longer = a.size() >= b.size() ? a : b;
    const Poly& shorter = a.size() >= b.size() ? b : a;
    Poly r = longer;
    const size_t offset = longer.size() - shorter.size();
    for (size_t k = 0; k < shorter.size(); ++k) r[offset + k] = cxAdd(r[offset + k], shorter[k]);
    return r;
}

void polyDivide(const Poly& a, const Poly& b, Poly& quotient, Poly& remainder) {
    if (b.empty()) throw DivisionByZero{};
    if (a.size() < b.size()) {
        quotient = {Complex{0.0, 0.0}};
        remainder = a;
        return;
    }
    quotient.assign(a.size() - b.size() + 1, Complex{0.0, 0.0});
    Poly w = a, next;
    for (size_t k = 0; k < quotient.size(); ++k) {
        const Complex q = cxDivide(w[0], b[0]);
        quotient[k] = q;
        next.resize(w.size() - 1);
        for (size_t j = 0; j + 1 < w.size(); ++j)
            next[j] = j + 1 < b.size() ? cxSubtract(w[j + 1], cxMultiply(q, b[j + 1])) : w[j + 1];
        w.swap(next);
    }
    remainder = std::move(w);
}

Poly polyDerivative(const Poly& p) {
    if (p.size() <= 1) return {Complex{0.0, 0.0}};
    const size_t n = p.size();
    Poly r(n - 1);
    for (size_t k = 0; k + 1 < n; ++k) r[k] = cxMultiply(Complex{static_cast<double>(n - 1 - k), 0.0}, p[k]);
    return r;
}

Poly polyAntiderivative(const Poly& p) {
    const size_t n = p.size();
    Poly r(n + 1, Complex{0.0, 0.0});
    for (size_t k = 0; k < n; ++k) r[k] = cxDivide(p[k], Complex{static_cast<double>(n - k), 0.0});
    return r;
}

Poly polyInterpolate(const Poly& xs, const Poly& ys) {
    const size_t n = xs.size();
    Poly result(n, Complex{0.0, 0.0});
    for (size_t i = 0; i < n; ++i) {
        Poly basis{Complex{1.0, 0.0}};
        Complex denominator{1.0, 0.0};
        for (size_t j = 0; j < n; ++j) {
            if (j == i) continue;
            basis = polyProduct(basis, Poly{Complex{1.0, 0.0}, cxSubtract(Complex{0.0, 0.0}, xs[j])});
            denominator = cxMultiply(denominator, cxSubtract(xs[i], xs[j]));
        }
        for (size_t k = 0; k < n; ++k)
            result[k] = cxAdd(result[k], cxMultiply(cxDivide(basis[k], denominator), ys[i]));
    }
    return result;
}

std::string polyText(const Poly& p) { return formatList(p, 12); }

}  // namespace vx
