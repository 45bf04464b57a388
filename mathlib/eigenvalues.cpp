#include "mathlib/eigenvalues.h"

#include <Eigen/Eigenvalues>
#include <Eigen/LU>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numeric>

#include "mathlib/complex.h"
#include "mathlib/matrix_algebra.h"
#include "mathlib/polynomial.h"
#include "mathlib/solver_range.h"

namespace vx {
namespace {

using Cx = std::complex<double>;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

bool isAborted(const std::atomic<int>& abort) { return abort.load(std::memory_order_relaxed) != 0; }
size_t cell(int row, int column, int n) { return static_cast<size_t>(row) * static_cast<size_t>(n) + column; }
Cx toCx(Complex z) { return {z.re, z.im}; }
Complex fromCx(Cx z) { return {z.real(), z.imag()}; }

bool hasRealEntries(std::span<const Complex> a) {
    for (const Complex& z : a)
        if (z.im != 0.0) return false;
    return true;
}

double frobeniusNorm(std::span<const Complex> a) {
    double sum = 0.0;
    for (const Complex& z : a) sum += z.re * z.re + z.im * z.im;
    return std::sqrt(sum);
}

// Eigenvalues with the condition number of each where it matters: how far
// a perturbation of the matrix of size e can move it, in units of e.
struct Spectrum {
    std::vector<Complex> values;
    std::vector<double> conditions;  // empty when not computed
    bool ok = false;
};

// Condition numbers from the complex Schur form T: the right and left
// eigenvectors x, y of T for t_kk, scaled so that y x = x_k y_k = 1, give
// ||x|| ||y||. A denominator t_jj - t_kk that vanishes (a repeated or
// defective eigenvalue) is replaced by eps |A|, making the number huge.
std::vector<double> schurConditions(const Eigen::MatrixXcd& a, double norm, std::vector<Cx>& diagonal) {
    const Eigen::ComplexSchur<Eigen::MatrixXcd> schur(a);
    const Eigen::Index n = a.rows();
    if (schur.info() != Eigen::Success) return {};
    const Eigen::MatrixXcd& t = schur.matrixT();
    const double tiny = kEpsilon * std::max(norm, std::numeric_limits<double>::min());
    const auto guard = [tiny](Cx d) { return std::abs(d) < tiny ? Cx(tiny, 0.0) : d; };
    std::vector<double> conditions(static_cast<size_t>(n));
    std::vector<Cx> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
    diagonal.resize(static_cast<size_t>(n));
    for (Eigen::Index k = 0; k < n; ++k) {
        const Cx lambda = t(k, k);
        diagonal[static_cast<size_t>(k)] = lambda;
        double xs = 1.0, ys = 1.0;
        x[static_cast<size_t>(k)] = y[static_cast<size_t>(k)] = 1.0;
        for (Eigen::Index j = k - 1; j >= 0; --j) {
            Cx sum{0.0, 0.0};
            for (Eigen::Index l = j + 1; l <= k; ++l) sum += t(j, l) * x[static_cast<size_t>(l)];
            x[static_cast<size_t>(j)] = -sum / guard(t(j, j) - lambda);
            xs += std::norm(x[static_cast<size_t>(j)]);
        }
        for (Eigen::Index j = k + 1; j < n; ++j) {
            Cx sum{0.0, 0.0};
            for (Eigen::Index l = k; l < j; ++l) sum += y[static_cast<size_t>(l)] * t(l, j);
            y[static_cast<size_t>(j)] = sum / guard(lambda - t(j, j));
            ys += std::norm(y[static_cast<size_t>(j)]);
        }
        conditions[static_cast<size_t>(k)] = std::sqrt(xs * ys);
    }
    return conditions;
}

// A defective eigenvalue comes out of any backward-stable method as a
// cluster of radius up to (eps |A|)^(1/k) for a k x k Jordan block, while
// the mean of the cluster stays accurate. Values closer than their
// condition numbers can explain are therefore one eigenvalue, replaced by
// the mean of its copies.
void mergeClusters(Spectrum& s, double norm, int n, bool real) {
    const size_t count = s.values.size();
    const double cap = 1e-3 * norm;
    std::vector<size_t> parent(count);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](size_t k) {
        while (parent[k] != k) k = parent[k] = parent[parent[k]];
        return k;
    };
    for (size_t i = 0; i < count; ++i)
        for (size_t j = i + 1; j < count; ++j) {
            const double reach = 64.0 * n * kEpsilon * norm * std::max(s.conditions[i], s.conditions[j]);
            if (std::abs(toCx(s.values[i]) - toCx(s.values[j])) <= std::min(cap, reach)) parent[root(j)] = root(i);
        }
    for (size_t i = 0; i < count; ++i) {
        if (root(i) != i) continue;
        std::vector<size_t> members;
        for (size_t j = 0; j < count; ++j)
            if (root(j) == i) members.push_back(j);
        if (members.size() < 2) continue;
        Cx mean{0.0, 0.0};
        bool closed = real;  // a real matrix's cluster on the real axis has a real mean
        for (size_t j : members) {
            mean += toCx(s.values[j]);
            bool mirrored = false;
            for (size_t k : members) mirrored = mirrored || (s.values[k].re == s.values[j].re && s.values[k].im == -s.values[j].im);
            closed = closed && mirrored;
        }
        mean /= static_cast<double>(members.size());
        if (closed) mean.imag(0.0);
        for (size_t j : members) {
            s.values[j] = fromCx(mean);
            s.conditions[j] = static_cast<double>(members.size());
        }
    }
}

// Whether two values lie within `reach` of each other: only then can a
// cluster need merging.
bool hasCloseValues(const std::vector<Complex>& values, double reach) {
    for (size_t i = 0; i < values.size(); ++i)
        for (size_t j = i + 1; j < values.size(); ++j)
            if (std::abs(toCx(values[i]) - toCx(values[j])) <= reach) return true;
    return false;
}

Spectrum spectrumInRange(std::span<const Complex> a, int n, bool withConditions) {
    Spectrum s;
    const bool real = hasRealEntries(a);
    Eigen::MatrixXcd m(n, n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m(r, c) = toCx(a[cell(r, c, n)]);
    Eigen::VectorXcd values;
    if (real) {
        const Eigen::EigenSolver<Eigen::MatrixXd> solver(m.real(), false);
        s.ok = solver.info() == Eigen::Success;
        if (s.ok) values = solver.eigenvalues();
    } else {
        const Eigen::ComplexEigenSolver<Eigen::MatrixXcd> solver(m, false);
        s.ok = solver.info() == Eigen::Success;
        if (s.ok) values = solver.eigenvalues();
    }
    if (!s.ok) return s;
    for (Eigen::Index k = 0; k < values.size(); ++k) s.values.push_back(fromCx(values(k)));
    const double norm = frobeniusNorm(a);
    if (!withConditions && !hasCloseValues(s.values, 1e-3 * norm)) return s;
    std::vector<Cx> diagonal;
    const std::vector<double> byDiagonal = schurConditions(m, norm, diagonal);
    if (byDiagonal.empty()) return s;
    // Each value takes the condition of the nearest unused Schur diagonal entry.
    std::vector<bool> used(diagonal.size(), false);
    for (const Complex& v : s.values) {
        size_t best = 0;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (size_t k = 0; k < diagonal.size(); ++k) {
            const double d = std::abs(diagonal[k] - toCx(v));
            if (!used[k] && d < bestDistance) best = k, bestDistance = d;
        }
        used[best] = true;
        s.conditions.push_back(byDiagonal[best]);
    }
    mergeClusters(s, norm, n, real);
    return s;
}

Spectrum spectrum(std::span<const Complex> a, int n, bool withConditions) {
    if (!allFinite(a)) return {};
    const double scale = solverScale(a);
    if (scale == 1.0) return spectrumInRange(a, n, withConditions);
    std::vector<Complex> scaled(a.begin(), a.end());
    for (Complex& z : scaled) z = Complex{z.re / scale, z.im / scale};
    Spectrum s = spectrumInRange(scaled, n, withConditions);
    for (Complex& v : s.values) v = Complex{v.re * scale, v.im * scale};
    return s;
}

// The roots of the exact characteristic polynomial, as they always were.
bool polynomialRoots(std::span<const Complex> a, int n, const std::atomic<int>& abort, std::vector<Complex>& roots,
                     bool& aborted) {
    aborted = false;
    Poly p;
    if (!characteristicPolynomial(a, n, abort, p)) return !(aborted = true);
    try {
        switch (polyRoots(std::move(p), roots, abort)) {
            case RootStatus::Ok: return roots.size() == static_cast<size_t>(n);
            case RootStatus::Aborted: aborted = true; return false;
            default: return false;
        }
    } catch (const DivisionByZero&) {
        return false;
    }
}

// The polynomial roots are right when each lies within the error bound of
// a distinct Schur eigenvalue: rounding of size eps |A| moves an
// eigenvalue by its condition number times that. Clustered and defective
// eigenvalues move by up to about sqrt(eps) |A|; beyond that the roots
// are wrong (Newton stalls on multiple roots of a rounded polynomial).
bool rootsAgree(const std::vector<Complex>& roots, const Spectrum& s, double norm, int n) {
    const double cap = 4.0 * std::sqrt(kEpsilon) * norm;
    std::vector<bool> used(s.values.size(), false);
    for (const Complex& r : roots) {
        int best = -1;
        double bestDistance = 0.0;
        for (size_t j = 0; j < s.values.size(); ++j) {
            if (used[j]) continue;
            const double d = std::abs(toCx(r) - toCx(s.values[j]));
            if (best < 0 || d < bestDistance) best = static_cast<int>(j), bestDistance = d;
        }
        if (best < 0) return false;
        const double condition = s.conditions.empty() ? 1.0 : s.conditions[static_cast<size_t>(best)];
        const double bound = 32.0 * n * kEpsilon * norm * condition +
                             8.0 * kEpsilon * std::abs(toCx(s.values[static_cast<size_t>(best)]));
        if (!(bestDistance <= std::min(bound, cap) || bestDistance == 0.0)) return false;
        used[static_cast<size_t>(best)] = true;
    }
    return true;
}

// Which of `rest` Newton's method finds on the polynomial prod(x - rest_j)
// from the starting points 1, i, -1, -i: the iteration z -= 1 / sum 1/(z -
// rest_j) follows the same path as on the expanded polynomial, and stops
// once z is far closer to one value than to any other.
size_t newtonTarget(const std::vector<Cx>& rest) {
    const Cx starts[] = {{1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}, {0.0, -1.0}};
    constexpr int kStepsPerStart = 1000;
    Cx z = starts[0];
    size_t nearest = 0;
    // Which values are copies of rest[nearest]: worked out again only when
    // the nearest value changes, not on every step.
    size_t copiesOf = rest.size();
    std::vector<char> isCopy(rest.size());
    std::vector<double> sizes(rest.size());  // |z - rest_j|^2 of this step
    for (const Cx start : starts) {
        z = start;
        for (int step = 0; step <= kStepsPerStart; ++step) {
            Cx sum{0.0, 0.0};
            double d1 = std::numeric_limits<double>::infinity();
            for (size_t j = 0; j < rest.size(); ++j) {
                const Cx w = z - rest[j];
                const double size = sizes[j] = std::norm(w);
                if (size < d1) d1 = size, nearest = j;
                if (size != 0.0) sum += std::conj(w) / size;
            }
            if (d1 == 0.0) return nearest;
            // Distance to the nearest value that is not a copy of this one.
            if (copiesOf != nearest) {
                const double copy = 1e-9 * std::abs(rest[nearest]);
                for (size_t j = 0; j < rest.size(); ++j) isCopy[j] = !(std::abs(rest[j] - rest[nearest]) > copy);
                copiesOf = nearest;
            }
            double d2 = std::numeric_limits<double>::infinity();
            for (size_t j = 0; j < rest.size(); ++j)
                if (!isCopy[j]) d2 = std::min(d2, sizes[j]);
            if (d1 <= 1e-6 * d2) return nearest;  // distances squared: a factor 1e-3 apart
            if (sum == Cx{0.0, 0.0} || !std::isfinite(sum.real()) || !std::isfinite(sum.imag())) break;
            z -= 1.0 / sum;
        }
    }
    return nearest;
}

}  // namespace

std::vector<Complex> schurEigenvalues(std::span<const Complex> a, int n) {
    if (n == 0) return {};
    Spectrum s = spectrum(a, n, false);
    return s.values;
}

bool orderLikeDeflation(std::vector<Complex>& values, const std::atomic<int>& abort) {
    const size_t n = values.size();
    if (n < 2) return true;
    std::vector<Cx> rest;
    for (const Complex& v : values) rest.push_back(toCx(v));
    std::vector<Complex> ordered;
    while (rest.size() > 2) {
        if (isAborted(abort)) return false;
        const size_t k = newtonTarget(rest);
        ordered.push_back(fromCx(rest[k]));
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(k));
    }
    // The last two come from the quadratic formula, (-b + d) / 2a first,
    // on a x^2 + b x + c with a = (-1)^n kept through the deflation.
    const Complex l1 = fromCx(rest[0]), l2 = fromCx(rest[1]);
    const Complex a{n % 2 == 0 ? 1.0 : -1.0, 0.0};
    const Complex b = cxSubtract(Complex{}, cxMultiply(a, cxAdd(l1, l2)));
    const Complex c = cxMultiply(a, cxMultiply(l1, l2));
    const Complex d = cxSqrt(cxSubtract(cxMultiply(b, b), cxMultiply(Complex{4.0, 0.0}, cxMultiply(a, c))));
    const Cx first = toCx(cxAdd(cxSubtract(Complex{}, b), d)) / toCx(cxMultiply(Complex{2.0, 0.0}, a));
    const bool swap = std::abs(first - rest[1]) < std::abs(first - rest[0]);
    ordered.push_back(fromCx(rest[swap ? 1 : 0]));
    ordered.push_back(fromCx(rest[swap ? 0 : 1]));
    values = std::move(ordered);
    return true;
}

EigenvalueStatus matrixEigenvalues(std::span<const Complex> a, int n, const std::atomic<int>& abort,
                                   std::vector<Complex>& values) {
    if (n == 0) return EigenvalueStatus::Empty;
    if (isAborted(abort)) return EigenvalueStatus::Aborted;
    const bool small = n <= kPolynomialRootsLimit;
    Spectrum s = spectrum(a, n, small);
    if (small || !s.ok) {
        std::vector<Complex> roots;
        bool aborted = false;
        const bool found = polynomialRoots(a, n, abort, roots, aborted);
        if (aborted) return EigenvalueStatus::Aborted;
        if (found && (!s.ok || rootsAgree(roots, s, frobeniusNorm(a), n))) {
            values = std::move(roots);
            return EigenvalueStatus::Ok;
        }
    }
    if (!s.ok) return EigenvalueStatus::NoConvergence;
    values = std::move(s.values);
    if (!orderLikeDeflation(values, abort)) return EigenvalueStatus::Aborted;
    return EigenvalueStatus::Ok;
}

}  // namespace vx
