#pragma once
// Binomial coefficients and falling factorials for any complex n and k,
// the kernels of ncr and npr.
#include "engine/value.h"

namespace vx {

// n! / ((n-k)! k!): exact for whole n and k while the value fits in 53 bits
// (and correctly rounded a good way beyond), 0 for k > n >= 0 and for a
// negative whole k, the gamma quotient otherwise.
Complex binomialCoefficient(Complex n, Complex k);

// n! / (n-k)!: the same promises, 0 for k > n >= 0.
Complex fallingFactorial(Complex n, Complex k);

}  // namespace vx
