// Ridders' form of Richardson extrapolation: each new sample starts a row of
// the tableau, each column removes the next power of h, and the difference
// to the neighbouring entries estimates the error.
#include "mathlib/extrapolation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "mathlib/complex.h"

namespace vx {
namespace {

constexpr int kRows = 22;      // h down to h0 / 2^21
constexpr int kColumns = 7;    // powers of h removed, at most
constexpr int kSettleRows = 8;  // rows before a growing error may end the run

double distance(Complex a, Complex b) { return cxModulus(cxSubtract(a, b)); }

}  // namespace

bool extrapolateToZero(const StepSample& sample, double h0, int order, Extrapolated& out) {
    std::array<Complex, kColumns + 1> previous{}, current{};
    out = Extrapolated{{0.0, 0.0}, HUGE_VAL, 0.0};
    double h = h0;
    for (int row = 0; row < kRows; ++row, h *= 0.5) {
        if (!sample(h, current[0])) return false;
        out.scale = std::max(out.scale, cxModulus(current[0]));
        const int columns = std::min(row, kColumns);
        double factor = 1.0;
        for (int m = 1; m <= columns; ++m) {
            factor *= order == 1 ? 2.0 : 4.0;
            const Complex step = cxSubtract(current[m - 1], previous[m - 1]);
            current[m] = cxAdd(current[m - 1], Complex{step.re / (factor - 1.0), step.im / (factor - 1.0)});
            const double error = std::max(distance(current[m], current[m - 1]), distance(current[m], previous[m - 1]));
            if (error <= out.error) out = Extrapolated{current[m], error, out.scale};
        }
        // Past the settling rows, a highest-order entry that moves more than
        // twice the best error means rounding has taken over.
        if (row >= kSettleRows && columns > 0 &&
            distance(current[columns], previous[std::min(row - 1, kColumns)]) >= 2.0 * out.error)
            break;
        previous = current;
    }
    if (!std::isfinite(out.error)) out.value = current[0];
    return true;
}

}  // namespace vx
