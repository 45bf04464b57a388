// Boost.Math's tanh-sinh (refined level by level, strong at end-point
// singularities) and adaptive Gauss-Kronrod (strong on long oscillating or
// peaked integrands), each with its own error estimate.
#include "mathlib/quadrature.h"

// Boost's tanh-sinh asserts that a rounded node never lands on an end
// point; on wide intervals one can. The integrand below copes with an end
// point itself (a value that is not finite there sends the integral to
// Gauss-Kronrod), so builds with assertions behave as release builds do.
#define BOOST_DISABLE_ASSERTS
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <cmath>
#include <complex>
#include <stdexcept>

#include "mathlib/complex.h"

namespace vx {
namespace {

using Cx = std::complex<double>;

constexpr double kAsked = 1e-13;     // tolerance handed to the methods, relative to the integral of |f|
constexpr double kAccepted = 1e-10;  // an error estimate below this is convergence
constexpr std::size_t kTanhSinhLevels = 10;
constexpr unsigned kKronrodDepth = 14;

// Thrown from inside Boost's loops when the integrand is not finite there:
// the method has met a singularity and its sum means nothing.
struct NotFinite {};

bool settled(Cx value, double error, double l1) {
    return std::isfinite(value.real()) && std::isfinite(value.imag()) && std::isfinite(error) &&
           error <= kAccepted * l1;
}

}  // namespace

bool integrateAdaptive(const Integrand& f, Complex a, Complex b, Complex& result) {
    // A real segment is integrated in x itself, which Boost keeps clear of
    // the end points; any other along x = a + (b - a) t for t in [0, 1].
    const bool real = a.im == 0.0 && b.im == 0.0;
    const Complex width = cxSubtract(b, a);
    const double lo = real ? std::fmin(a.re, b.re) : 0.0, hi = real ? std::fmax(a.re, b.re) : 1.0;
    const double sign = real && b.re < a.re ? -1.0 : 1.0;
    auto g = [&](double t) -> Cx {
        Complex y;
        if (real) {
            y = f(Complex{t, 0.0});
        } else {
            const Complex x = cxAdd(a, cxMultiply(width, Complex{t, 0.0}));
            if ((x.re == a.re && x.im == a.im) || (x.re == b.re && x.im == b.im)) return 0.0;
            y = cxMultiply(f(x), width);
        }
        if (!std::isfinite(y.re) || !std::isfinite(y.im)) throw NotFinite{};
        return {y.re, y.im};
    };
    auto accept = [&](Cx value) {
        result = Complex{sign * value.real(), sign * value.imag()};
        return true;
    };
    if (lo == hi) return accept(0.0);
    try {
        boost::math::quadrature::tanh_sinh<double> method(kTanhSinhLevels);
        double error = 0, l1 = 0;
        const Cx value = method.integrate(g, lo, hi, kAsked, &error, &l1);
        if (settled(value, error, l1)) return accept(value);
    } catch (const NotFinite&) {
    } catch (const std::exception&) {  // Boost's own evaluation errors
    }
    try {
        double error = 0, l1 = 0;
        const Cx value =
            boost::math::quadrature::gauss_kronrod<double, 31>::integrate(g, lo, hi, kKronrodDepth, kAsked, &error, &l1);
        if (settled(value, error, l1)) return accept(value);
    } catch (const NotFinite&) {
    } catch (const std::exception&) {
    }
    return false;
}

}  // namespace vx
