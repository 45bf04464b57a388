// Roots of a polynomial: Newton's method from fixed starting values, each
// root deflated out before the next search, the last two from the quadratic
// formula.
#include <cmath>

#include "mathlib/complex.h"
#include "mathlib/polynomial.h"
#include "mathlib/scaled_division.h"

namespace vx {
namespace {

constexpr double kTolerance = 1e-12;
constexpr int kStepsPerStart = 1000;
// Newton has converged as far as doubles allow once a step moves z by no
// more than a few units in the last place.
constexpr double kStallFactor = 4.0 * 0x1p-52;

const Complex kStarts[] = {{1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}, {0.0, -1.0}};
constexpr int kStartCount = 4;

// sum of p[k] z^(m-1-k), the powers taken with the complex power.
Complex evaluatePowers(const Poly& p, Complex z) {
    const size_t m = p.size();
    Complex f{0.0, 0.0};
    for (size_t k = 0; k < m; ++k)
        f = cxAdd(f, cxMultiply(p[k], cxPower(z, static_cast<double>(m - 1 - k))));
    return f;
}

// Whether |p(z)| is within the rounding error of evaluating it: no z closer
// to the root can be told apart in double precision.
bool residualIsNoise(const Poly& p, Complex z, Complex f) {
    const size_t m = p.size();
    double magnitude = 0.0;
    for (size_t k = 0; k < m; ++k)
        magnitude += cxModulus(p[k]) * std::pow(cxModulus(z), static_cast<double>(m - 1 - k));
    return cxModulus(f) <= 8.0 * static_cast<double>(m) * 0x1p-52 * magnitude;
}

enum class Search { Found, Timeout, Aborted };

Search newtonRoot(const Poly& p, Complex& root, const std::atomic<int>& abortFlag) {
    const size_t m = p.size();
    Poly derivative(m - 1);
    for (size_t k = 0; k + 1 < m; ++k)
        derivative[k] = cxMultiply(Complex{static_cast<double>(m - 1 - k), 0.0}, p[k]);

    int start = 0, steps = 0;
    Complex z = kStarts[0];
    bool stalled = false;
    auto restart = [&]() {
        steps = 0;
        stalled = false;
        if (++start < kStartCount) z = kStarts[start];
        return start < kStartCount;
    };
    for (;;) {
        if (abortFlag.load(std::memory_order_relaxed)) return Search::Aborted;
        if (steps > kStepsPerStart) {
            // Large coefficients can keep the residual above the tolerance
            // at the root itself; Newton then wanders in the rounding noise.
            if (residualIsNoise(p, z, evaluatePowers(p, z))) break;
            if (!restart()) return Search::Timeout;
        }
        const Complex f = evaluatePowers(p, z);
        if (std::fabs(f.re) <= kTolerance && std::fabs(f.im) <= kTolerance) break;
        if (stalled) break;
        const Complex d = evaluatePowers(derivative, z);
        if (d.re == 0.0 && d.im == 0.0) {
            // A flat point: Newton cannot move from here, try the next start.
            if (!restart()) return Search::Timeout;
            continue;
        }
        const Complex step = cxDivideScaled(f, d);
        z = cxSubtract(z, step);
        ++steps;
        stalled = cxModulus(step) <= kStallFactor * cxModulus(z);
    }
    root = z;
    return Search::Found;
}

}  // namespace

RootStatus polyRoots(Poly p, Poly& roots, const std::atomic<int>& abortFlag) {
    size_t lead = 0;
    while (lead < p.size() && p[lead].re == 0.0 && p[lead].im == 0.0) ++lead;
    p.erase(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(lead));
    if (p.size() < 2) return RootStatus::Constant;
    roots.clear();
    if (p.size() == 2) {
        roots.push_back(cxSubtract(Complex{0.0, 0.0}, cxDivideScaled(p[1], p[0])));
        return RootStatus::Ok;
    }
    while (p.size() > 3) {
        Complex z;
        switch (newtonRoot(p, z, abortFlag)) {
            case Search::Aborted: return RootStatus::Aborted;
            case Search::Timeout: return RootStatus::Timeout;
            case Search::Found: break;
        }
        roots.push_back(z);
        // Synthetic division by (x - z); the remainder is dropped.
        Poly q(p.size() - 1);
        q[0] = p[0];
        for (size_t k = 1; k < q.size(); ++k) q[k] = cxAdd(p[k], cxMultiply(z, q[k - 1]));
        p.swap(q);
    }
    const Complex a = p[0], b = p[1], c = p[2];
    const Complex d = cxSqrt(cxSubtract(cxMultiply(b, b), cxMultiply(Complex{4.0, 0.0}, cxMultiply(a, c))));
    const Complex twoA = cxMultiply(Complex{2.0, 0.0}, a);
    const Complex minusB = cxSubtract(Complex{0.0, 0.0}, b);
    roots.push_back(cxDivideScaled(cxAdd(minusB, d), twoA));
    roots.push_back(cxDivideScaled(cxSubtract(minusB, d), twoA));
    return RootStatus::Ok;
}

}  // namespace vx
