#include "listmat/eigenvector_basis.h"

#include <Eigen/Eigenvalues>
#include <Eigen/SVD>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numeric>

#include "mathlib/solver_range.h"

namespace vx {
namespace {

using Cx = std::complex<double>;
using ComplexMatrix = Eigen::MatrixXcd;
using ComplexVector = Eigen::VectorXcd;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// Relative to the size of the matrix: eigenvalues closer than this are one
// repeated eigenvalue, singular values below it span its eigenspace. A
// defective eigenvalue leaves its second singular value near sqrt(eps).
constexpr double kTolerance = 1e-9;
// Components of a vector below this fraction of its largest one are the
// echelon form's zeros.
constexpr double kNegligible = 1e-10;

bool isAborted(const std::atomic<int>& abort) { return abort.load(std::memory_order_relaxed) != 0; }
Cx toCx(Complex z) { return {z.re, z.im}; }

struct Problem {
    ComplexMatrix a;
    bool real = true;
    double norm = 0.0;
};

// The solver's eigenvalues and eigenvectors (columns); empty when it failed.
struct SolverVectors {
    ComplexVector values;
    ComplexMatrix vectors;
};

SolverVectors solverVectors(const Problem& p) {
    SolverVectors s;
    if (p.real) {
        const Eigen::EigenSolver<Eigen::MatrixXd> solver(p.a.real(), true);
        if (solver.info() != Eigen::Success) return s;
        s.values = solver.eigenvalues();
        s.vectors = solver.eigenvectors();
    } else {
        const Eigen::ComplexEigenSolver<ComplexMatrix> solver(p.a, true);
        if (solver.info() != Eigen::Success) return s;
        s.values = solver.eigenvalues();
        s.vectors = solver.eigenvectors();
    }
    return s;
}

// Right singular vectors of A - lambda I for the `wanted` smallest singular
// values, as columns; `null` counts those that are zero within tolerance
// (at least one: lambda is known to be an eigenvalue). A real matrix and a
// real lambda keep the vectors real.
ComplexMatrix nullVectors(const Problem& p, Cx lambda, int wanted, int& null) {
    const Eigen::Index n = p.a.rows();
    Eigen::VectorXd sigma;
    ComplexMatrix v;
    if (p.real && lambda.imag() == 0.0) {
        Eigen::MatrixXd b = p.a.real();
        b.diagonal().array() -= lambda.real();
        const Eigen::BDCSVD<Eigen::MatrixXd> svd(b, Eigen::ComputeFullV);
        sigma = svd.singularValues();
        v = svd.matrixV().cast<Cx>();
    } else {
        ComplexMatrix b = p.a;
        b.diagonal().array() -= lambda;
        const Eigen::BDCSVD<ComplexMatrix> svd(b, Eigen::ComputeFullV);
        sigma = svd.singularValues();
        v = svd.matrixV();
    }
    null = 1;
    for (int k = 2; k <= wanted; ++k)
        if (sigma(n - k) <= kTolerance * p.norm) null = k;
    return v.rightCols(wanted);
}

// Reduces the columns of b (vectors of one eigenspace) from the last
// component up: each gets 1 at its own pivot component and 0 at the
// others', like the null-space basis read off the echelon form, in order
// of the pivot component. Parts at rounding level are written as 0.
std::vector<ComplexVector> echelonBasis(ComplexMatrix b) {
    const Eigen::Index n = b.rows(), count = b.cols();
    const double largest = b.cwiseAbs().maxCoeff();
    std::vector<Eigen::Index> pivotOf(static_cast<size_t>(count), -1);
    Eigen::Index found = 0;
    for (Eigen::Index q = n - 1; q >= 0 && found < count; --q) {
        Eigen::Index best = -1;
        for (Eigen::Index j = 0; j < count; ++j)
            if (pivotOf[static_cast<size_t>(j)] < 0 && (best < 0 || std::abs(b(q, j)) > std::abs(b(q, best)))) best = j;
        if (best < 0 || std::abs(b(q, best)) <= kNegligible * largest) continue;
        b.col(best) /= b(q, best);
        b(q, best) = 1.0;
        for (Eigen::Index j = 0; j < count; ++j)
            if (j != best) {
                b.col(j) -= b(q, j) * b.col(best);
                b(q, j) = 0.0;
            }
        pivotOf[static_cast<size_t>(best)] = q;
        ++found;
    }
    std::vector<Eigen::Index> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](Eigen::Index x, Eigen::Index y) {
        return pivotOf[static_cast<size_t>(x)] < pivotOf[static_cast<size_t>(y)];
    });
    std::vector<ComplexVector> basis;
    for (Eigen::Index j : order) {
        ComplexVector v = b.col(j);
        const double size = v.cwiseAbs().maxCoeff();
        const double noise = 64.0 * static_cast<double>(n) * kEpsilon * size;
        for (Eigen::Index k = 0; k < n; ++k) {
            double re = v(k).real(), im = v(k).imag();
            if (std::abs(v(k)) <= kNegligible * size) re = im = 0.0;
            if (std::fabs(re) <= noise) re = 0.0;
            if (std::fabs(im) <= noise) im = 0.0;
            v(k) = Cx(re, im);
        }
        basis.push_back(v);
    }
    return basis;
}

// The solver's vector for the eigenvalue nearest lambda, when it is an
// eigenvector of lambda itself to rounding accuracy.
bool solverVector(const Problem& p, const SolverVectors& s, Cx lambda, ComplexVector& v) {
    if (s.values.size() == 0) return false;
    Eigen::Index nearest = 0;
    (s.values.array() - lambda).abs().minCoeff(&nearest);
    v = s.vectors.col(nearest);
    const double size = v.norm();
    if (size == 0.0 || !std::isfinite(size)) return false;
    const double residual = (p.a * v - lambda * v).norm();
    return residual <= kTolerance * p.norm * size;
}

}  // namespace

EigenvectorStatus eigenvectorRows(std::span<const Complex> a, int n, const std::vector<Complex>& values,
                                  const std::atomic<int>& abort, EigenvectorSet& out) {
    const int count = static_cast<int>(values.size());
    out.rows.assign(static_cast<size_t>(count) * static_cast<size_t>(n), Complex{});
    out.basis = true;
    if (n == 0 || count == 0) return EigenvectorStatus::Done;
    if (!allFinite(a) || !allFinite(values)) return EigenvectorStatus::NotFinite;
    // Dividing the matrix and its eigenvalues by one power of two leaves the
    // eigenvectors as they are.
    const double scale = solverScale(a);
    std::vector<Cx> lambdas(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) lambdas[static_cast<size_t>(k)] = toCx(values[static_cast<size_t>(k)]) / scale;
    Problem p;
    p.a.resize(n, n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            const Complex z = a[static_cast<size_t>(r) * static_cast<size_t>(n) + c];
            p.a(r, c) = toCx(z) / scale;
            p.real = p.real && z.im == 0.0;
        }
    p.norm = p.a.norm();
    const SolverVectors solver = solverVectors(p);

    std::vector<bool> done(static_cast<size_t>(count), false);
    for (int k = 0; k < count; ++k) {
        if (done[static_cast<size_t>(k)]) continue;
        if (isAborted(abort)) return EigenvectorStatus::Aborted;
        // The eigenvalue's copies, in list order.
        const Cx lambda = lambdas[static_cast<size_t>(k)];
        std::vector<int> copies;
        Cx mean{0.0, 0.0};
        for (int j = k; j < count; ++j)
            if (!done[static_cast<size_t>(j)] &&
                std::abs(lambdas[static_cast<size_t>(j)] - lambda) <= kTolerance * p.norm) {
                copies.push_back(j);
                mean += lambdas[static_cast<size_t>(j)];
            }
        mean /= static_cast<double>(copies.size());
        if (lambda.imag() == 0.0) mean.imag(0.0);

        ComplexMatrix vectors;
        int independent = 1;
        ComplexVector v;
        if (copies.size() == 1 && solverVector(p, solver, lambda, v)) {
            vectors = v;
        } else {
            const int wanted = std::min(static_cast<int>(copies.size()), n);
            vectors = nullVectors(p, copies.size() == 1 ? lambda : mean, wanted, independent);
            vectors = vectors.rightCols(independent).eval();
        }
        const std::vector<ComplexVector> basis = echelonBasis(vectors);
        if (static_cast<int>(copies.size()) > independent) out.basis = false;
        for (size_t c = 0; c < copies.size(); ++c) {
            const ComplexVector& chosen = basis[c % basis.size()];
            Complex* row = out.rows.data() + static_cast<size_t>(copies[c]) * static_cast<size_t>(n);
            for (int i = 0; i < n; ++i) row[i] = Complex{chosen(i).real(), chosen(i).imag()};
            done[static_cast<size_t>(copies[c])] = true;
        }
    }
    return EigenvectorStatus::Done;
}

}  // namespace vx
