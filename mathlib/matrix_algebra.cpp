#include "mathlib/matrix_algebra.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

#include "mathlib/complex.h"
#include "mathlib/dense_lu.h"
#include "mathlib/fraction_free.h"
#include "mathlib/wide_float.h"

namespace vx {
namespace {

bool isAborted(const AbortFlag& abort) { return abort.load(std::memory_order_relaxed) != 0; }
bool isExactZero(Complex z) { return z.re == 0.0 && z.im == 0.0; }
Complex negate(Complex z) { return {-z.re, -z.im}; }
double squaredModulus(Complex z) { return z.re * z.re + z.im * z.im; }

size_t cell(int row, int column, int n) { return static_cast<size_t>(row) * static_cast<size_t>(n) + column; }

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

// perm(|A|) by Ryser's formula over the column subsets in Gray-code order:
// (-1)^n sum over S of (-1)^|S| prod_i sum_(j in S) |a_ij|. Cancellation
// costs a few digits, which a size estimate can spare.
double permanentOfModuli(std::span<const Complex> a, int n) {
    std::vector<double> rowSums(static_cast<size_t>(n), 0.0);
    double total = 0.0;
    unsigned subset = 0;
    for (unsigned k = 1; k < (1u << n); ++k) {
        const int column = std::countr_zero(k);
        const unsigned bit = 1u << column;
        subset ^= bit;
        const double sign = (subset & bit) ? 1.0 : -1.0;
        double product = 1.0;
        for (int r = 0; r < n; ++r) {
            const Complex z = a[cell(r, column, n)];
            rowSums[static_cast<size_t>(r)] += sign * std::hypot(z.re, z.im);
            product *= rowSums[static_cast<size_t>(r)];
        }
        total += (std::popcount(subset) % 2 == n % 2) ? product : -product;
    }
    return std::fabs(total);
}

// Hadamard's bound on every minor of [A | I]: the product of its row norms.
double minorBound(std::span<const Complex> a, int n) {
    double bound = 1.0;
    for (int r = 0; r < n; ++r) {
        double sum = 1.0;
        for (int c = 0; c < n; ++c) sum += squaredModulus(a[cell(r, c, n)]);
        bound *= std::sqrt(sum);
    }
    return bound;
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
    if (isAborted(abort)) return false;
    det = luDeterminant(a, n);
    if (!hasWholeEntries(a)) return true;
    // A whole-number determinant beyond 2^53 has no exact double anyway;
    // below, the fraction-free elimination gives it exactly (0 for a
    // singular matrix rather than rounding noise).
    if (std::isfinite(det.re) && std::isfinite(det.im) && std::fmax(std::fabs(det.re), std::fabs(det.im)) > 0x1p54)
        return true;
    Complex exact;
    switch (fractionFreeDeterminant(a, n, abort, exact)) {
        case FractionFree::Aborted: return false;
        case FractionFree::Inexact: return true;
        case FractionFree::Exact: break;
    }
    det = exact;
    return true;
}

bool determinant(std::span<const Complex> a, int n, const AbortFlag& abort, Complex& det) {
    if (n > kCofactorLimit) return determinantByElimination(a, n, abort, det);
    if (!determinantByCofactors(a, n, abort, det)) return false;
    if (det.re == 0.0 && det.im == 0.0) return true;
    // The expansion adds n! products; rounding leaves about eps times the
    // sum of their moduli, perm(|A|). Where that reaches the printed digits
    // (the products cancel: an ill-conditioned matrix), or the sum
    // overflowed on the way to a result, elimination does better.
    const double perm = permanentOfModuli(a, n);
    const bool finite = std::isfinite(det.re) && std::isfinite(det.im);
    if (finite && 4.0 * 0x1p-52 * perm <= 1e-12 * std::hypot(det.re, det.im)) return true;
    if (finite && perm <= 0x1p53 && hasWholeEntries(a)) return true;  // every partial sum exact
    if (!finite && !std::isfinite(perm)) {
        for (const Complex& z : a)
            if (!std::isfinite(z.re) || !std::isfinite(z.im)) return true;  // INF or NaN given
    }
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
    // Whole-number matrices: adj(A) / det(A) exactly, each entry rounded
    // once, singularity decided exactly. Small ones always (giving up when
    // a minor outgrows a double); larger ones when Hadamard's bound on the
    // minors of [A | I] says they all fit.
    if (hasWholeEntries(a) && (n <= kCofactorLimit || minorBound(a, n) <= 0x1p53)) {
        Complex det;
        switch (fractionFreeInverse(a, n, abort, det)) {
            case FractionFree::Aborted: return InverseStatus::Aborted;
            case FractionFree::Exact: return isExactZero(det) ? InverseStatus::Singular : InverseStatus::Ok;
            case FractionFree::Inexact: break;
        }
    } else if (n <= kCofactorLimit) {
        // The determinant check users know for small matrices.
        Complex det;
        if (!determinantByCofactors(a, n, abort, det)) return InverseStatus::Aborted;
        if (isExactZero(det)) return InverseStatus::Singular;
    }
    if (isAborted(abort)) return InverseStatus::Aborted;
    // Partial pivoting: the sweep without row exchanges divided by pivots
    // as small as 1e-20 and lost every digit ([[1e-20,1][1,1]]).
    switch (luInverse(a, n)) {
        case LuInverse::Ok: return InverseStatus::Ok;
        case LuInverse::IllConditioned: return InverseStatus::Singular;
        case LuInverse::ZeroPivot: break;
    }
    // Small matrices whose determinant is not exactly 0 keep the zero
    // pivot's message; for larger ones the zero pivot is their exact test.
    if (n <= kCofactorLimit) throw DivisionByZero();
    return InverseStatus::Singular;
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
