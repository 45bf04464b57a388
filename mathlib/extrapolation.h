#pragma once
// Richardson extrapolation to h -> 0 of a quantity that can be sampled at
// any step h: the limit of f(a + h), the central difference of a derivative.
#include <functional>

#include "engine/value.h"

namespace vx {

// One sample at step h; false when the evaluation failed (its message
// stands).
using StepSample = std::function<bool(double h, Complex& value)>;

struct Extrapolated {
    Complex value{};
    double error = 0.0;  // the tableau's own estimate, absolute
    double scale = 0.0;  // the largest sample seen, for judging the error
};

// Samples at h0, h0/2, h0/4, ... and extrapolates each row of the tableau
// in powers of h^order (1: a one-sided sample, 2: an even one), keeping the
// entry with the smallest error estimate and stopping once rounding makes
// the estimates grow. False when a sample failed.
bool extrapolateToZero(const StepSample& sample, double h0, int order, Extrapolated& out);

}  // namespace vx
