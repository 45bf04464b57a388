#include "listmat/matrix_functions.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/MatrixFunctions>
#include <cmath>
#include <complex>
#include <limits>

#include "mathlib/complex.h"
#include "mathlib/solver_range.h"

namespace vx {
namespace {

using Cx = std::complex<double>;
using RealMatrix = Eigen::MatrixXd;
using ComplexMatrix = Eigen::MatrixXcd;

// Below this reciprocal condition of the eigenvector basis, rounding in
// P^-1 would reach the digits the result is printed with.
constexpr double kBasisCondition = 1e-8;

size_t cell(int row, int column, int n) { return static_cast<size_t>(row) * static_cast<size_t>(n) + column; }
Cx toCx(Complex z) { return {z.re, z.im}; }

struct Name {
    std::string_view name;
    MatrixFunction f;
};
constexpr Name kDirect[] = {
    {"exp", MatrixFunction::Exp}, {"sqrt", MatrixFunction::Sqrt}, {"ln", MatrixFunction::Ln},
    {"log", MatrixFunction::Log}, {"sin", MatrixFunction::Sin},   {"cos", MatrixFunction::Cos},
    {"sinh", MatrixFunction::Sinh}, {"cosh", MatrixFunction::Cosh},
};

bool hasBranchCut(MatrixFunction f, Complex p) {
    switch (f) {
        case MatrixFunction::Sqrt:
        case MatrixFunction::Ln:
        case MatrixFunction::Log: return true;
        case MatrixFunction::Power: return p.im != 0.0 || !isIntegral(p.re);
        default: return false;
    }
}

bool touchesNegativeAxis(const std::vector<Complex>& values) {
    for (const Complex& z : values)
        if (z.re <= 0.0 && std::fabs(z.im) <= 1e-14 * std::fabs(z.re)) return true;
    return false;
}

template <typename Matrix>
Matrix evaluate(MatrixFunction f, const Matrix& a, double p) {
    switch (f) {
        case MatrixFunction::Exp: return a.exp();
        case MatrixFunction::Sqrt: return a.sqrt();
        case MatrixFunction::Ln: return a.log();
        case MatrixFunction::Log: return Matrix(a.log()) / std::log(10.0);
        case MatrixFunction::Sin: return a.sin();
        case MatrixFunction::Cos: return a.cos();
        case MatrixFunction::Sinh: return a.sinh();
        case MatrixFunction::Cosh: return a.cosh();
        case MatrixFunction::Power: return a.pow(p);
    }
    return a;
}

// f(A) from f(A / s) for the scale s of a matrix outside the solvers'
// range; false for the functions without such a rule.
bool rescales(MatrixFunction f) {
    switch (f) {
        case MatrixFunction::Sqrt:
        case MatrixFunction::Ln:
        case MatrixFunction::Log:
        case MatrixFunction::Power: return true;
        default: return false;
    }
}

ComplexMatrix unscaled(MatrixFunction f, double p, double scale, ComplexMatrix m) {
    if (scale == 1.0) return m;
    switch (f) {
        case MatrixFunction::Sqrt: return m * std::sqrt(scale);
        case MatrixFunction::Ln: m.diagonal().array() += std::log(scale); return m;
        case MatrixFunction::Log: m.diagonal().array() += std::log10(scale); return m;
        case MatrixFunction::Power: return m * std::pow(scale, p);
        default: return m;
    }
}

// f(A) for a matrix outside the solvers' range: the Schur form A = U T U*
// is found for A / s, inside the range, and f is applied to s T. That is
// triangular already, so no Schur iteration runs on out-of-range numbers.
ComplexMatrix throughScaledSchur(MatrixFunction f, const ComplexMatrix& a, double scale) {
    const Eigen::ComplexSchur<ComplexMatrix> schur(a / scale);
    if (schur.info() != Eigen::Success) return ComplexMatrix::Constant(a.rows(), a.cols(), std::nan(""));
    const ComplexMatrix& u = schur.matrixU();
    return u * evaluate(f, ComplexMatrix(schur.matrixT() * scale), 0.0) * u.adjoint();
}

// sin, cos, sinh or cosh of a matrix outside the solvers' range. When it
// is large only on its diagonal, s I and A - s I (s the mean of the
// diagonal) commute, and the addition theorems give f(A) from the scalar
// functions of s and the matrix functions of A - s I, which keeps the
// parts off the diagonal that a Schur form of A would round away.
ComplexMatrix shiftedAddition(MatrixFunction f, const ComplexMatrix& a, double scale) {
    const Cx shift = a.trace() / static_cast<double>(a.rows());
    ComplexMatrix rest = a;
    rest.diagonal().array() -= shift;
    if (!inSolverRange(rest.cwiseAbs().maxCoeff())) return throughScaledSchur(f, a, scale);
    const bool circular = f == MatrixFunction::Sin || f == MatrixFunction::Cos;
    const ComplexMatrix odd = circular ? ComplexMatrix(rest.sin()) : ComplexMatrix(rest.sinh());
    const ComplexMatrix even = circular ? ComplexMatrix(rest.cos()) : ComplexMatrix(rest.cosh());
    const Complex s{shift.real(), shift.imag()};
    const Cx oddShift = toCx(circular ? cxSin(s) : cxSinh(s)), evenShift = toCx(circular ? cxCos(s) : cxCosh(s));
    switch (f) {
        case MatrixFunction::Sin:
        case MatrixFunction::Sinh: return oddShift * even + evenShift * odd;
        case MatrixFunction::Cos: return evenShift * even - oddShift * odd;
        default: return evenShift * even + oddShift * odd;  // cosh
    }
}

template <typename Matrix>
bool store(const Matrix& m, std::vector<Complex>& result) {
    const int n = static_cast<int>(m.rows());
    result.assign(static_cast<size_t>(n) * static_cast<size_t>(n), Complex{});
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            const Cx z = m(r, c);
            if (std::isnan(z.real()) || std::isnan(z.imag())) return false;
            result[cell(r, c, n)] = Complex{z.real(), z.imag()};
        }
    return true;
}

// Whether f(conj lambda) = conj f(lambda) over the spectrum of a real
// matrix: then f(A) is real and an imaginary part is rounding.
bool conjugateSymmetric(const std::vector<Complex>& values, const std::vector<Complex>& f) {
    double largest = 0.0;
    for (const Complex& z : f) largest = std::max(largest, std::abs(toCx(z)));
    const double tolerance = 1e-14 * largest;
    for (size_t k = 0; k < values.size(); ++k) {
        bool paired = false;
        for (size_t j = 0; j < values.size() && !paired; ++j)
            paired = values[j].re == values[k].re && values[j].im == -values[k].im &&
                     std::abs(toCx(f[j]) - std::conj(toCx(f[k]))) <= tolerance;
        if (!paired) return false;
    }
    return true;
}

}  // namespace

bool findMatrixFunction(std::string_view name, MatrixFunction& f) {
    for (const Name& entry : kDirect)
        if (entry.name == name) {
            f = entry.f;
            return true;
        }
    return false;
}

DirectStatus applyMatrixFunction(MatrixFunction f, Complex p, std::span<const Complex> a, int n,
                                 const std::vector<Complex>& values, bool asComplex, std::vector<Complex>& result) {
    if (!allFinite(a) || !isFinite(p)) return DirectStatus::NotFinite;
    // The exponential needs no Schur form; the other functions are taken of
    // a scaled matrix outside the solvers' range, or left to the eigenbasis.
    const double range = f == MatrixFunction::Exp ? 1.0 : solverScale(a);
    const bool shifted = range != 1.0 && !rescales(f);
    const double scale = shifted ? 1.0 : range;
    bool real = true;
    for (const Complex& z : a) real = real && z.im == 0.0;
    if (real && !asComplex && hasBranchCut(f, p) && touchesNegativeAxis(values)) return DirectStatus::OnBranchCut;
    ComplexMatrix c(n, n);
    for (int r = 0; r < n; ++r)
        for (int k = 0; k < n; ++k) c(r, k) = toCx(a[cell(r, k, n)]) / scale;
    bool finite;
    if (f == MatrixFunction::Power && p.im != 0.0) {
        const Cx factor = scale == 1.0 ? Cx(1.0) : std::exp(toCx(p) * std::log(scale));
        finite = store(ComplexMatrix(c.pow(toCx(p)) * factor), result);
    } else if (real && !asComplex && f == MatrixFunction::Exp) {
        finite = store(evaluate(f, RealMatrix(c.real()), p.re), result);
    } else {
        const ComplexMatrix value =
            shifted ? shiftedAddition(f, c, range) : unscaled(f, p.re, scale, evaluate(f, c, p.re));
        // The other methods work on the complex Schur form (Eigen's real
        // square root trips over a defective 2 x 2 block); off the branch
        // cut a real matrix's result is real and its imaginary part rounding.
        finite = real && !asComplex ? store(RealMatrix(value.real()), result) : store(value, result);
    }
    return finite ? DirectStatus::Done : DirectStatus::NotFinite;
}

bool applyThroughEigenbasis(std::span<const Complex> a, int n, const std::vector<Complex>& values,
                            const std::vector<Complex>& f, const std::vector<Complex>& vectorRows,
                            std::vector<Complex>& result) {
    ComplexMatrix p(n, n);
    for (int k = 0; k < n; ++k) {
        for (int r = 0; r < n; ++r) p(r, k) = toCx(vectorRows[cell(k, r, n)]);
        const double size = p.col(k).norm();
        if (size == 0.0) return false;
    }
    // The condition of the basis, not of the scaling the echelon form gave
    // it; from singular values, since the LU estimate misses exact zeros.
    ComplexMatrix unit = p;
    for (int k = 0; k < n; ++k) unit.col(k) /= unit.col(k).norm();
    const Eigen::VectorXd sigma = Eigen::BDCSVD<ComplexMatrix>(unit).singularValues();
    if (!(sigma(n - 1) >= kBasisCondition * sigma(0))) return false;

    ComplexMatrix scaled = p;
    for (int k = 0; k < n; ++k) scaled.col(k) *= toCx(f[static_cast<size_t>(k)]);
    const ComplexMatrix x = scaled * Eigen::PartialPivLU<ComplexMatrix>(p).inverse();

    bool real = true;
    for (const Complex& z : a) real = real && z.im == 0.0;
    real = real && conjugateSymmetric(values, f);
    result.assign(static_cast<size_t>(n) * static_cast<size_t>(n), Complex{});
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) result[cell(r, c, n)] = Complex{x(r, c).real(), real ? 0.0 : x(r, c).imag()};
    return true;
}

}  // namespace vx
