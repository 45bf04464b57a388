#include "mathlib/matrix_algebra.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "mathlib/complex.h"
#include "mathlib/scaled_division.h"
#include "mathlib/wide_float.h"

namespace vx {
namespace {

bool isAborted(const AbortFlag& abort) { return abort.load(std::memory_order_relaxed) != 0; }
bool isExactZero(Complex z) { return z.re == 0.0 && z.im == 0.0; }
bool isFinite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }
double squaredModulus(Complex z) { return z.re * z.re + z.im * z.im; }
Complex negate(Complex z) { return {-z.re, -z.im}; }

size_t cell(int row, int column, int n) { return static_cast<size_t>(row) * static_cast<size_t>(n) + column; }

// One fraction-free step (w p - f k) / q. The numerator is formed exactly
// in double-double: the division by the previous pivot q is exact in
// integers, so the quotient is the exact minor whenever that minor fits a
// double, even when the products do not.
double bareissStep(double w, double p, double f, double k, double q) {
    return wideDivide(wideAdd(twoProduct(w, p), wideNegate(twoProduct(f, k))), Wide{q, 0.0});
}

Complex bareissStep(Complex w, Complex p, Complex f, Complex k, Complex q) {
    const auto sum4 = [](Wide a, Wide b, Wide c, Wide d) { return wideAdd(wideAdd(a, b), wideAdd(c, d)); };
    const auto neg = [](Wide a) { return wideNegate(a); };
    const Wide re = sum4(twoProduct(w.re, p.re), neg(twoProduct(w.im, p.im)), neg(twoProduct(f.re, k.re)),
                         twoProduct(f.im, k.im));
    const Wide im = sum4(twoProduct(w.re, p.im), twoProduct(w.im, p.re), neg(twoProduct(f.re, k.im)),
                         neg(twoProduct(f.im, k.re)));
    if (q.im == 0.0) {
        const Wide d{q.re, 0.0};
        return {wideDivide(re, d), wideDivide(im, d)};
    }
    // Multiply by the conjugate of q and divide by |q|^2.
    const Wide d = wideAdd(twoProduct(q.re, q.re), twoProduct(q.im, q.im));
    const Wide nre = wideAdd(wideTimes(re, q.re), wideTimes(im, q.im));
    const Wide nim = wideAdd(wideTimes(im, q.re), neg(wideTimes(re, q.im)));
    return {wideDivide(nre, d), wideDivide(nim, d)};
}

// The expansion works on the rows below `row` and a list of surviving
// columns per level, so minors are index sets rather than copies. Level d
// keeps its n - d columns at columns[d * n ...].
class CofactorExpansion {
public:
    CofactorExpansion(std::span<const Complex> a, int n, const AbortFlag& abort)
        : a_(a), n_(n), abort_(abort), columns_(static_cast<size_t>(n) * static_cast<size_t>(n)) {
        for (int c = 0; c < n; ++c) columns_[static_cast<size_t>(c)] = c;
    }

    bool determinant(int level, Complex& det) {
        const int m = n_ - level;
        const int* cols = columns_.data() + static_cast<size_t>(level) * n_;
        if (m == 1) {
            det = at(level, cols[0]);
            return true;
        }
        if (m == 2) {
            det = cxSubtract(cxMultiply(at(level, cols[0]), at(level + 1, cols[1])),
                             cxMultiply(at(level, cols[1]), at(level + 1, cols[0])));
            return true;
        }
        Complex sum{0.0, 0.0};
        for (int j = 0; j < m; ++j) {
            if (isAborted(abort_)) return false;
            dropColumn(level, j);
            Complex minor;
            if (!determinant(level + 1, minor)) return false;
            const Complex term = cxMultiply(at(level, cols[j]), minor);
            sum = j % 2 == 0 ? cxAdd(sum, term) : cxSubtract(sum, term);
        }
        det = sum;
        return true;
    }

    // det(A - xI): entry (r, c) is the polynomial a_rc - x when r == c in
    // the original matrix, the constant a_rc otherwise.
    bool charpoly(int level, std::vector<Complex>& result) {
        const int m = n_ - level;
        const int* cols = columns_.data() + static_cast<size_t>(level) * n_;
        if (m == 1) {
            result = entryPolynomial(level, cols[0]);
            return true;
        }
        std::vector<Complex> sum;
        for (int j = 0; j < m; ++j) {
            if (isAborted(abort_)) return false;
            dropColumn(level, j);
            std::vector<Complex> minor;
            if (!charpoly(level + 1, minor)) return false;
            std::vector<Complex> term = polyProduct(entryPolynomial(level, cols[j]), minor);
            if (j % 2 != 0)
                for (Complex& c : term) c = negate(c);
            sum = polySum(sum, term);
        }
        result = std::move(sum);
        return true;
    }

private:
    const Complex& at(int row, int column) const { return a_[cell(row, column, n_)]; }

    // Columns of the next level: this level's columns without the j-th.
    void dropColumn(int level, int j) {
        const int m = n_ - level;
        const int* from = columns_.data() + static_cast<size_t>(level) * n_;
        int* to = columns_.data() + static_cast<size_t>(level + 1) * n_;
        for (int k = 0, t = 0; k < m; ++k)
            if (k != j) to[t++] = from[k];
    }

    std::vector<Complex> entryPolynomial(int row, int column) const {
        if (row == column) return {Complex{-1.0, 0.0}, at(row, column)};
        return {at(row, column)};
    }

    static std::vector<Complex> polyProduct(const std::vector<Complex>& a, const std::vector<Complex>& b) {
        std::vector<Complex> r(a.size() + b.size() - 1);
        for (size_t i = 0; i < a.size(); ++i)
            for (size_t j = 0; j < b.size(); ++j) r[i + j] = cxAdd(r[i + j], cxMultiply(a[i], b[j]));
        return r;
    }

    // The longer operand copied, the shorter added aligned at the constant.
    static std::vector<Complex> polySum(const std::vector<Complex>& a, const std::vector<Complex>& b) {
        const std::vector<Complex>& longer = a.size() >= b.size() ? a : b;
        const std::vector<Complex>& shorter = a.size() >= b.size() ? b : a;
        std::vector<Complex> r = longer;
        const size_t offset = longer.size() - shorter.size();
        for (size_t k = 0; k < shorter.size(); ++k) r[offset + k] = cxAdd(r[offset + k], shorter[k]);
        return r;
    }

    std::span<const Complex> a_;
    int n_;
    const AbortFlag& abort_;
    std::vector<int> columns_;
};

// Gaussian elimination with partial pivoting; the determinant is the signed
// product of the pivots. Used when the fraction-free products overflow.
bool determinantByPivoting(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det) {
    std::vector<Complex> w(a.begin(), a.end());
    Complex product{1.0, 0.0};
    for (int k = 0; k < n; ++k) {
        if (isAborted(abort)) return false;
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (squaredModulus(w[cell(i, k, n)]) > squaredModulus(w[cell(pivot, k, n)])) pivot = i;
        if (isExactZero(w[cell(pivot, k, n)])) {
            det = Complex{0.0, 0.0};
            return true;
        }
        if (pivot != k) {
            for (int c = 0; c < n; ++c) std::swap(w[cell(k, c, n)], w[cell(pivot, c, n)]);
            product = negate(product);
        }
        const Complex p = w[cell(k, k, n)];
        product = cxMultiply(product, p);
        for (int i = k + 1; i < n; ++i) {
            const Complex f = cxDivideScaled(w[cell(i, k, n)], p);
            for (int c = k + 1; c < n; ++c)
                w[cell(i, c, n)] = cxSubtract(w[cell(i, c, n)], cxMultiply(f, w[cell(k, c, n)]));
        }
    }
    det = product;
    return true;
}

bool allFinite(std::span<const Complex> a) {
    for (const Complex& z : a)
        if (!isFinite(z)) return false;
    return true;
}

double magnitude(double x) { return x * x; }
double magnitude(Complex z) { return squaredModulus(z); }
bool isZeroEntry(double x) { return x == 0.0; }
bool isZeroEntry(Complex z) { return isExactZero(z); }
double negated(double x) { return -x; }
Complex negated(Complex z) { return negate(z); }

// Bareiss elimination on real (double) or complex entries. Any non-zero
// pivot keeps the divisions exact; the largest one keeps rounding small for
// non-integer entries.
template <typename T>
bool fractionFreeDeterminant(std::vector<T> w, int n, const AbortFlag& abort, T& det) {
    bool negative = false;
    T previous{1.0};
    for (int k = 0; k + 1 < n; ++k) {
        if (isAborted(abort)) return false;
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (magnitude(w[cell(i, k, n)]) > magnitude(w[cell(pivot, k, n)])) pivot = i;
        if (isZeroEntry(w[cell(pivot, k, n)])) {
            det = T{};
            return true;
        }
        if (pivot != k) {
            for (int c = 0; c < n; ++c) std::swap(w[cell(k, c, n)], w[cell(pivot, c, n)]);
            negative = !negative;
        }
        const T p = w[cell(k, k, n)];
        for (int i = k + 1; i < n; ++i) {
            const T f = w[cell(i, k, n)];
            T* row = w.data() + cell(i, 0, n);
            const T* pivotRow = w.data() + cell(k, 0, n);
            for (int c = k + 1; c < n; ++c) row[c] = bareissStep(row[c], p, f, pivotRow[c], previous);
        }
        previous = p;
    }
    const T last = w[cell(n - 1, n - 1, n)];
    det = negative ? negated(last) : last;
    return true;
}

Wide widen(double x) { return {x, 0.0}; }

// det((-1)^n (xI - A)) by Berkowitz, on real (Wide over double) or complex
// (WideComplex over Complex) entries. p holds det(xI - A_r) of the leading
// r x r block, highest degree first. Bordering A_r with row R, column C and
// corner d gives p_(r+1) = T p_r, T lower-triangular Toeplitz with first
// column 1, -d, -R C, -R A_r C, -R A_r^2 C, ... The terms R A^k C grow like
// the k-th power of the matrix while the coefficients may be small, so
// everything accumulates in double-double.
template <typename E, typename W>
bool berkowitz(const std::vector<E>& a, int n, const AbortFlag& abort, std::vector<W>& p) {
    p = {widen(E{1.0})};
    std::vector<W> toeplitz, row, next;
    for (int r = 0; r < n; ++r) {
        if (isAborted(abort)) return false;
        toeplitz.assign(static_cast<size_t>(r) + 2, W{});
        toeplitz[0] = widen(E{1.0});
        toeplitz[1] = wideNegate(widen(a[cell(r, r, n)]));
        // row = R A_r^k, starting with R itself.
        row.resize(static_cast<size_t>(r));
        for (int i = 0; i < r; ++i) row[static_cast<size_t>(i)] = widen(a[cell(r, i, n)]);
        for (int k = 0; k < r; ++k) {
            if (isAborted(abort)) return false;
            W rc{};
            for (int i = 0; i < r; ++i) rc = wideAdd(rc, wideTimes(row[static_cast<size_t>(i)], a[cell(i, r, n)]));
            toeplitz[static_cast<size_t>(k) + 2] = wideNegate(rc);
            if (k + 1 == r) break;
            next.assign(static_cast<size_t>(r), W{});
            for (int i = 0; i < r; ++i) {
                const W ri = row[static_cast<size_t>(i)];
                const E* matrixRow = a.data() + cell(i, 0, n);
                for (int j = 0; j < r; ++j)
                    next[static_cast<size_t>(j)] = wideAdd(next[static_cast<size_t>(j)], wideTimes(ri, matrixRow[j]));
            }
            row.swap(next);
        }
        next.assign(p.size() + 1, W{});
        for (size_t i = 0; i < next.size(); ++i)
            for (size_t j = 0; j < p.size() && j <= i; ++j) next[i] = wideAdd(next[i], wideTimes(toeplitz[i - j], p[j]));
        p.swap(next);
    }
    if (n % 2 != 0)
        for (W& c : p) c = wideNegate(c);
    return true;
}

}  // namespace

bool determinantByCofactors(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det) {
    if (n == 0) {
        det = Complex{1.0, 0.0};
        return true;
    }
    CofactorExpansion expansion(a, n, abort);
    return expansion.determinant(0, det);
}

bool determinantByElimination(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det) {
    if (n == 0) {
        det = Complex{1.0, 0.0};
        return true;
    }
    bool real = true;
    for (const Complex& z : a) real = real && z.im == 0.0;
    bool done;
    if (real) {
        std::vector<double> w(a.size());
        for (size_t k = 0; k < a.size(); ++k) w[k] = a[k].re;
        double d = 0.0;
        done = fractionFreeDeterminant(w, n, abort, d);
        det = Complex{d, 0.0};
    } else {
        done = fractionFreeDeterminant(std::vector<Complex>(a.begin(), a.end()), n, abort, det);
    }
    if (!done) return false;
    if (!isFinite(det) && allFinite(a)) return determinantByPivoting(a, n, abort, det);
    return true;
}

bool determinant(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det) {
    if (n <= kCofactorLimit) return determinantByCofactors(a, n, abort, det);
    return determinantByElimination(a, n, abort, det);
}

bool charpolyByCofactors(std::span<const Complex> a, int n, const AbortFlag& abort,
                         std::vector<Complex>& coefficients) {
    if (n == 0) {
        coefficients = {Complex{1.0, 0.0}};
        return true;
    }
    CofactorExpansion expansion(a, n, abort);
    return expansion.charpoly(0, coefficients);
}

bool charpolyByBerkowitz(std::span<const Complex> a, int n, const AbortFlag& abort,
                         std::vector<Complex>& coefficients) {
    bool real = true;
    for (const Complex& z : a) real = real && z.im == 0.0;
    if (real) {
        std::vector<double> entries(a.size());
        for (size_t k = 0; k < a.size(); ++k) entries[k] = a[k].re;
        std::vector<Wide> p;
        if (!berkowitz(entries, n, abort, p)) return false;
        coefficients.resize(p.size());
        for (size_t k = 0; k < p.size(); ++k) coefficients[k] = Complex{p[k].hi + p[k].lo, 0.0};
        return true;
    }
    std::vector<WideComplex> p;
    if (!berkowitz(std::vector<Complex>(a.begin(), a.end()), n, abort, p)) return false;
    coefficients.resize(p.size());
    for (size_t k = 0; k < p.size(); ++k) coefficients[k] = narrow(p[k]);
    return true;
}

bool characteristicPolynomial(std::span<const Complex> a, int n, const AbortFlag& abort,
                              std::vector<Complex>& coefficients) {
    if (n <= kCofactorLimit) return charpolyByCofactors(a, n, abort, coefficients);
    return charpolyByBerkowitz(a, n, abort, coefficients);
}

InverseStatus invertMatrix(std::vector<Complex>& a, int n, const AbortFlag& abort) {
    Complex det;
    if (!determinant(a, n, abort, det)) return InverseStatus::Aborted;
    if (isExactZero(det)) return InverseStatus::Singular;

    // In-place sweep: after pivot k, column k holds the multipliers and row
    // k the negated pivot row, all scaled by 1 / pivot. Every other entry is
    // updated from its own old value, its new multiplier and the old pivot
    // row, so only that row needs keeping. After the last pivot the array is
    // the inverse of the row-exchanged matrix.
    std::vector<std::pair<int, int>> exchanges;
    std::vector<Complex> pivotRow(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        if (isAborted(abort)) return InverseStatus::Aborted;
        if (isExactZero(a[cell(k, k, n)])) {
            for (int r = k + 1; r < n; ++r) {
                if (isExactZero(a[cell(r, k, n)])) continue;
                for (int c = 0; c < n; ++c) std::swap(a[cell(k, c, n)], a[cell(r, c, n)]);
                exchanges.emplace_back(k, r);
                break;
            }
        }
        std::copy_n(a.begin() + static_cast<std::ptrdiff_t>(cell(k, 0, n)), n, pivotRow.begin());
        const Complex pivot = cxDivide(Complex{1.0, 0.0}, pivotRow[static_cast<size_t>(k)]);
        a[cell(k, k, n)] = pivot;
        for (int i = 0; i < n; ++i) {
            if (i == k) continue;
            a[cell(i, k, n)] = cxMultiply(pivot, a[cell(i, k, n)]);
            a[cell(k, i, n)] = negate(cxMultiply(pivot, pivotRow[static_cast<size_t>(i)]));
        }
        for (int i = 0; i < n; ++i) {
            if (i == k) continue;
            const Complex factor = a[cell(i, k, n)];
            Complex* row = a.data() + cell(i, 0, n);
            for (int j = 0; j < n; ++j) {
                if (j == k) continue;
                row[j] = cxSubtract(row[j], cxMultiply(factor, pivotRow[static_cast<size_t>(j)]));
            }
        }
    }
    // inverse(M) = inverse(S M) S: undo the row exchanges as column
    // exchanges, the last one first.
    for (auto e = exchanges.rbegin(); e != exchanges.rend(); ++e)
        for (int r = 0; r < n; ++r) std::swap(a[cell(r, e->first, n)], a[cell(r, e->second, n)]);
    return InverseStatus::Ok;
}

std::vector<Complex> squareProduct(std::span<const Complex> l, std::span<const Complex> r, int n) {
    std::vector<Complex> p(static_cast<size_t>(n) * static_cast<size_t>(n));
    for (int row = 0; row < n; ++row)
        for (int col = 0; col < n; ++col) {
            Complex sum{0.0, 0.0};
            for (int k = 0; k < n; ++k) sum = cxAdd(sum, cxMultiply(l[cell(row, k, n)], r[cell(k, col, n)]));
            p[cell(row, col, n)] = sum;
        }
    return p;
}

}  // namespace vx
