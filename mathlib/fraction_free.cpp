#include "mathlib/fraction_free.h"

#include <cmath>
#include <utility>

#include "mathlib/wide_float.h"

namespace vx {
namespace {

constexpr double kExactLimit = 0x1p53;

bool isAborted(const std::atomic<int>& abort) { return abort.load(std::memory_order_relaxed) != 0; }
size_t cell(int row, int column, int width) {
    return static_cast<size_t>(row) * static_cast<size_t>(width) + column;
}

bool fits(double x) { return std::fabs(x) <= kExactLimit; }  // false for INF and NaN
bool fits(Complex z) { return fits(z.re) && fits(z.im); }
double magnitude(double x) { return x * x; }
double magnitude(Complex z) { return z.re * z.re + z.im * z.im; }
bool isZero(double x) { return x == 0.0; }
bool isZero(Complex z) { return z.re == 0.0 && z.im == 0.0; }
double negated(double x) { return -x; }
Complex negated(Complex z) { return {-z.re, -z.im}; }

// (w p - f k) / q with the numerator formed exactly in double-double: the
// quotient is an exact minor, so it comes out exact whenever it fits.
double bareissStep(double w, double p, double f, double k, double q) {
    return wideDivide(wideAdd(twoProduct(w, p), wideNegate(twoProduct(f, k))), Wide{q, 0.0});
}

// n / d for a complex d: multiply by the conjugate of d, divide by |d|^2,
// both formed exactly.
Complex wideQuotient(Wide re, Wide im, Complex d) {
    if (d.im == 0.0) return {wideDivide(re, Wide{d.re, 0.0}), wideDivide(im, Wide{d.re, 0.0})};
    const Wide size = wideAdd(twoProduct(d.re, d.re), twoProduct(d.im, d.im));
    const Wide nre = wideAdd(wideTimes(re, d.re), wideTimes(im, d.im));
    const Wide nim = wideAdd(wideTimes(im, d.re), wideNegate(wideTimes(re, d.im)));
    return {wideDivide(nre, size), wideDivide(nim, size)};
}

Complex bareissStep(Complex w, Complex p, Complex f, Complex k, Complex q) {
    const auto sum4 = [](Wide a, Wide b, Wide c, Wide d) { return wideAdd(wideAdd(a, b), wideAdd(c, d)); };
    const Wide re = sum4(twoProduct(w.re, p.re), wideNegate(twoProduct(w.im, p.im)), wideNegate(twoProduct(f.re, k.re)),
                         twoProduct(f.im, k.im));
    const Wide im = sum4(twoProduct(w.re, p.im), twoProduct(w.im, p.re), wideNegate(twoProduct(f.re, k.im)),
                         wideNegate(twoProduct(f.im, k.re)));
    return wideQuotient(re, im, q);
}

double quotient(double n, double d) { return n / d; }
Complex quotient(Complex n, Complex d) { return wideQuotient(Wide{n.re, 0.0}, Wide{n.im, 0.0}, d); }

// Index of the row at or below `from` with the largest entry in `column`.
template <typename T>
int pivotRow(const std::vector<T>& w, int from, int rows, int column, int width) {
    int pivot = from;
    for (int i = from + 1; i < rows; ++i)
        if (magnitude(w[cell(i, column, width)]) > magnitude(w[cell(pivot, column, width)])) pivot = i;
    return pivot;
}

template <typename T>
void swapRows(std::vector<T>& w, int a, int b, int width) {
    for (int c = 0; c < width; ++c) std::swap(w[cell(a, c, width)], w[cell(b, c, width)]);
}

template <typename T>
FractionFree determinantOf(std::vector<T> w, int n, const std::atomic<int>& abort, T& det) {
    bool negative = false;
    T previous{1.0};
    for (int k = 0; k + 1 < n; ++k) {
        if (isAborted(abort)) return FractionFree::Aborted;
        const int pivot = pivotRow(w, k, n, k, n);
        if (isZero(w[cell(pivot, k, n)])) {
            det = T{};
            return FractionFree::Exact;
        }
        if (pivot != k) {
            swapRows(w, k, pivot, n);
            negative = !negative;
        }
        const T p = w[cell(k, k, n)];
        const T* pivotValues = w.data() + cell(k, 0, n);
        for (int i = k + 1; i < n; ++i) {
            T* row = w.data() + cell(i, 0, n);
            const T f = row[k];
            for (int c = k + 1; c < n; ++c) {
                row[c] = bareissStep(row[c], p, f, pivotValues[c], previous);
                if (!fits(row[c])) return FractionFree::Inexact;
            }
        }
        previous = p;
    }
    const T last = w[cell(n - 1, n - 1, n)];
    det = negative ? negated(last) : last;
    return FractionFree::Exact;
}

// After pivot k every row i != k is (p row_i - w_ik row_k) / previous
// pivot, which clears column k; at the end [P A | P] has become
// [d I | d A^-1] with d = det(P A).
template <typename T>
FractionFree inverseOf(std::vector<T>& w, int n, const std::atomic<int>& abort, T& det) {
    const int width = 2 * n;
    bool negative = false;
    T previous{1.0};
    for (int k = 0; k < n; ++k) {
        if (isAborted(abort)) return FractionFree::Aborted;
        const int pivot = pivotRow(w, k, n, k, width);
        if (isZero(w[cell(pivot, k, width)])) {
            det = T{};
            return FractionFree::Exact;
        }
        if (pivot != k) {
            swapRows(w, k, pivot, width);
            negative = !negative;
        }
        const T p = w[cell(k, k, width)];
        const T* pivotValues = w.data() + cell(k, 0, width);
        for (int i = 0; i < n; ++i) {
            if (i == k) continue;
            T* row = w.data() + cell(i, 0, width);
            const T f = row[k];
            for (int c = 0; c < width; ++c) {
                if (c == k) continue;
                row[c] = bareissStep(row[c], p, f, pivotValues[c], previous);
                if (!fits(row[c])) return FractionFree::Inexact;
            }
            row[k] = T{};
        }
        previous = p;
    }
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) w[cell(r, c, n)] = quotient(w[cell(r, n + c, width)], previous);
    w.resize(static_cast<size_t>(n) * static_cast<size_t>(n));
    det = negative ? negated(previous) : previous;
    return FractionFree::Exact;
}

bool hasRealEntries(std::span<const Complex> a) {
    for (const Complex& z : a)
        if (z.im != 0.0) return false;
    return true;
}

}  // namespace

bool hasWholeEntries(std::span<const Complex> a) {
    for (const Complex& z : a)
        if (!fits(z) || std::trunc(z.re) != z.re || std::trunc(z.im) != z.im) return false;
    return true;
}

FractionFree fractionFreeDeterminant(std::span<const Complex> a, int n, const std::atomic<int>& abort, Complex& det) {
    if (n == 0) {
        det = Complex{1.0, 0.0};
        return FractionFree::Exact;
    }
    if (!hasRealEntries(a)) return determinantOf(std::vector<Complex>(a.begin(), a.end()), n, abort, det);
    std::vector<double> w(a.size());
    for (size_t k = 0; k < a.size(); ++k) w[k] = a[k].re;
    double d = 0.0;
    const FractionFree status = determinantOf(std::move(w), n, abort, d);
    det = Complex{d, 0.0};
    return status;
}

FractionFree fractionFreeInverse(std::vector<Complex>& a, int n, const std::atomic<int>& abort, Complex& det) {
    const int width = 2 * n;
    if (!hasRealEntries(a)) {
        std::vector<Complex> w(static_cast<size_t>(n) * static_cast<size_t>(width));
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) w[cell(r, c, width)] = a[cell(r, c, n)];
            w[cell(r, n + r, width)] = Complex{1.0, 0.0};
        }
        const FractionFree status = inverseOf(w, n, abort, det);
        if (status == FractionFree::Exact && !isZero(det)) a = std::move(w);
        return status;
    }
    std::vector<double> w(static_cast<size_t>(n) * static_cast<size_t>(width));
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) w[cell(r, c, width)] = a[cell(r, c, n)].re;
        w[cell(r, n + r, width)] = 1.0;
    }
    double d = 0.0;
    const FractionFree status = inverseOf(w, n, abort, d);
    det = Complex{d, 0.0};
    if (status == FractionFree::Exact && d != 0.0)
        for (size_t k = 0; k < a.size(); ++k) a[k] = Complex{w[k], 0.0};
    return status;
}

}  // namespace vx
