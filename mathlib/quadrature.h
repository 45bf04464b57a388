#pragma once
// Adaptive quadrature with an error estimate over the straight segment from
// a to b, for integrands that the fixed tanh-sinh sum of int did not settle.
#include <functional>

#include "engine/value.h"

namespace vx {

// The integrand at one point; it may throw to end the integration (an
// evaluation failure or an abort), which passes through unchanged.
using Integrand = std::function<Complex(Complex)>;

// Tanh-sinh with refinement, then adaptive Gauss-Kronrod: true with the
// integral in `result` once either estimates its error below about 1e-10 of
// the integral of |f|; false when neither converges (a divergent integral,
// a singularity inside, an integrand too rough to settle).
bool integrateAdaptive(const Integrand& f, Complex a, Complex b, Complex& result);

}  // namespace vx
