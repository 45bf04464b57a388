#include "mathlib/dense_lu.h"

#include <Eigen/LU>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace vx {
namespace {

using RealMatrix = Eigen::MatrixXd;
using ComplexMatrix = Eigen::MatrixXcd;

bool hasRealEntries(std::span<const Complex> a) {
    for (const Complex& z : a)
        if (z.im != 0.0) return false;
    return true;
}

size_t cell(int row, int column, int n) { return static_cast<size_t>(row) * static_cast<size_t>(n) + column; }

RealMatrix loadReal(std::span<const Complex> a, int n) {
    RealMatrix m(n, n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m(r, c) = a[cell(r, c, n)].re;
    return m;
}

ComplexMatrix loadComplex(std::span<const Complex> a, int n) {
    ComplexMatrix m(n, n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m(r, c) = {a[cell(r, c, n)].re, a[cell(r, c, n)].im};
    return m;
}

void store(const RealMatrix& m, std::vector<Complex>& a) {
    const int n = static_cast<int>(m.rows());
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) a[cell(r, c, n)] = Complex{m(r, c), 0.0};
}

void store(const ComplexMatrix& m, std::vector<Complex>& a) {
    const int n = static_cast<int>(m.rows());
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) a[cell(r, c, n)] = Complex{m(r, c).real(), m(r, c).imag()};
}

double scaleBy(double x, int exponent) { return std::ldexp(x, exponent); }
std::complex<double> scaleBy(std::complex<double> z, int exponent) {
    return {std::ldexp(z.real(), exponent), std::ldexp(z.imag(), exponent)};
}

// Product of the pivots as mantissa x 2^exponent, renormalised at every
// step: 200 pivots of 1e2 give 1e400 = INF only at the very end.
template <typename Lu>
auto pivotProduct(const Lu& lu) {
    using Scalar = typename Lu::Scalar;
    Scalar mantissa = static_cast<Scalar>(lu.permutationP().determinant());
    int exponent = 0;
    const auto& factors = lu.matrixLU();
    for (Eigen::Index k = 0; k < factors.rows(); ++k) {
        mantissa *= factors(k, k);
        const double size = std::max(std::fabs(std::real(mantissa)), std::fabs(std::imag(mantissa)));
        if (size == 0.0 || !std::isfinite(size)) return mantissa;
        int shift = 0;
        std::frexp(size, &shift);
        mantissa *= std::ldexp(1.0, -shift);
        exponent += shift;
    }
    return scaleBy(mantissa, exponent);
}

template <typename Matrix>
LuInverse invert(const Matrix& m, std::vector<Complex>& a) {
    const Eigen::PartialPivLU<Matrix> lu(m);
    const auto& factors = lu.matrixLU();
    for (Eigen::Index k = 0; k < factors.rows(); ++k)
        if (factors(k, k) == typename Matrix::Scalar(0.0)) return LuInverse::ZeroPivot;
    if (!(lu.rcond() >= std::numeric_limits<double>::epsilon())) return LuInverse::IllConditioned;
    store(Matrix(lu.inverse()), a);
    return LuInverse::Ok;
}

}  // namespace

Complex luDeterminant(std::span<const Complex> a, int n) {
    if (n == 0) return Complex{1.0, 0.0};
    if (hasRealEntries(a)) {
        const Eigen::PartialPivLU<RealMatrix> lu(loadReal(a, n));
        return Complex{pivotProduct(lu), 0.0};
    }
    const Eigen::PartialPivLU<ComplexMatrix> lu(loadComplex(a, n));
    const std::complex<double> det = pivotProduct(lu);
    return Complex{det.real(), det.imag()};
}

LuInverse luInverse(std::vector<Complex>& a, int n) {
    if (n == 0) return LuInverse::Ok;
    if (hasRealEntries(a)) return invert(loadReal(a, n), a);
    return invert(loadComplex(a, n), a);
}

}  // namespace vx
