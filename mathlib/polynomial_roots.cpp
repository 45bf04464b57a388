// Roots of a polynomial: Newton's method from fixed starting values, each
// root deflated out before the next search, the last two from the quadratic
// formula. Where these print the right digits they are kept bit for bit;
// the mends only reach results that were wrong: a relative residual test
// (tiny coefficients no longer make every point a root), rotated starting
// points once the four on the axes are spent (x^4 + 1 keeps real and
// imaginary starts on their axes for ever), and the cancellation-free form
// of the quadratic formula where -b and the root of the discriminant cancel.
#include <algorithm>
#include <cmath>

#include "mathlib/complex.h"
#include "mathlib/polynomial.h"

namespace vx {
namespace {

constexpr double kTolerance = 1e-12;
constexpr int kStepsPerStart = 1000;
// Newton has converged as far as doubles allow once a step moves z by no
// more than a few units in the last place.
constexpr double kStallFactor = 4.0 * 0x1p-52;

const Complex kStarts[] = {{1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}, {0.0, -1.0}};
constexpr int kAxisStarts = 4;
// Starts off the axes after those: on the circle of the roots' geometric
// mean modulus, turned by the golden angle each time.
constexpr int kRotatedStarts = 24;
constexpr double kGoldenAngle = 2.399963229728653;

// sum of p[k] z^(m-1-k), the powers taken with the complex power.
Complex evaluatePowers(const Poly& p, Complex z) {
    const size_t m = p.size();
    Complex f{0.0, 0.0};
    for (size_t k = 0; k < m; ++k)
        f = cxAdd(f, cxMultiply(p[k], cxPower(z, static_cast<double>(m - 1 - k))));
    return f;
}

// sum of |p[k]| |z|^(m-1-k): the size of the terms that make up p(z).
double termMagnitude(const Poly& p, Complex z) {
    const size_t m = p.size();
    double magnitude = 0.0;
    for (size_t k = 0; k < m; ++k)
        magnitude += cxModulus(p[k]) * std::pow(cxModulus(z), static_cast<double>(m - 1 - k));
    return magnitude;
}

// Whether |p(z)| is within the rounding error of evaluating it: no z closer
// to the root can be told apart in double precision.
bool residualIsNoise(const Poly& p, Complex z, Complex f) {
    return cxModulus(f) <= 8.0 * static_cast<double>(p.size()) * 0x1p-52 * termMagnitude(p, z);
}

// The fixed tolerance 1e-12 on |re f| and |im f|, counted only where it is
// also small beside the terms of p(z): with coefficients of 1e-15 every z
// would pass.
bool residualIsSmall(const Poly& p, Complex z, Complex f) {
    if (!(std::fabs(f.re) <= kTolerance && std::fabs(f.im) <= kTolerance)) return false;
    return cxModulus(f) <= kTolerance * termMagnitude(p, z);
}

Complex startingPoint(const Poly& p, int start) {
    if (start < kAxisStarts) return kStarts[start];
    const double radius = std::pow(cxModulus(p.back()) / cxModulus(p.front()), 1.0 / static_cast<double>(p.size() - 1));
    const double r = std::isfinite(radius) && radius > 0.0 ? radius : 1.0;
    const double angle = 0.5 + kGoldenAngle * (start - kAxisStarts);
    return {r * std::cos(angle), r * std::sin(angle)};
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
        if (++start < kAxisStarts + kRotatedStarts) z = startingPoint(p, start);
        return start < kAxisStarts + kRotatedStarts;
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
        if (residualIsSmall(p, z, f)) break;
        if (stalled) break;
        const Complex d = evaluatePowers(derivative, z);
        if (d.re == 0.0 && d.im == 0.0) {
            // A flat point: Newton cannot move from here, try the next start.
            if (!restart()) return Search::Timeout;
            continue;
        }
        const Complex step = cxDivide(f, d);
        z = cxSubtract(z, step);
        ++steps;
        stalled = cxModulus(step) <= kStallFactor * cxModulus(z);
    }
    root = z;
    return Search::Found;
}

bool finite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

// The roots (-b + d) / 2a and then (-b - d) / 2a, d = sqrt(b^2 - 4ac). The
// root whose numerator cancels is also c / q, q = -(b + d) / 2 with the sign
// of d that adds, which is used where the two differ beyond the printed
// digits ({1, 1e10, 1} has -1e-10, not 0). Coefficients whose squares leave
// the double range are first scaled by a power of two.
void quadraticRoots(Complex a, Complex b, Complex c, Poly& roots) {
    auto discriminantRoot = [](Complex a, Complex b, Complex c) {
        return cxSqrt(cxSubtract(cxMultiply(b, b), cxMultiply(Complex{4.0, 0.0}, cxMultiply(a, c))));
    };
    Complex d = discriminantRoot(a, b, c);
    const Complex twoA = cxMultiply(Complex{2.0, 0.0}, a);
    const Complex minusB = cxSubtract(Complex{0.0, 0.0}, b);
    Complex plus = cxDivide(cxAdd(minusB, d), twoA), minus = cxDivide(cxSubtract(minusB, d), twoA);
    Complex sa = a, sb = b, sc = c;
    if (!finite(d) || !finite(plus) || !finite(minus)) {
        const double largest = std::max({cxModulus(a), cxModulus(b), cxModulus(c)});
        const int k = std::ilogb(largest);
        auto scaled = [k](Complex z) { return Complex{std::ldexp(z.re, -k), std::ldexp(z.im, -k)}; };
        sa = scaled(a), sb = scaled(b), sc = scaled(c);
        d = discriminantRoot(sa, sb, sc);
    }
    const bool adding = sb.re * d.re + sb.im * d.im >= 0.0;
    const Complex sum = adding ? cxAdd(sb, d) : cxSubtract(sb, d);
    const Complex q{-0.5 * sum.re, -0.5 * sum.im};
    if (q.re != 0.0 || q.im != 0.0) {
        const Complex large = cxDivide(q, sa), small = cxDivide(sc, q);
        const Complex stablePlus = adding ? small : large, stableMinus = adding ? large : small;
        auto close = [](Complex fixed, Complex sound) {
            return cxModulus(cxSubtract(fixed, sound)) <= 5e-14 * cxModulus(sound);
        };
        if (!finite(plus) || !close(plus, stablePlus)) plus = stablePlus;
        if (!finite(minus) || !close(minus, stableMinus)) minus = stableMinus;
    }
    roots.push_back(plus);
    roots.push_back(minus);
}

}  // namespace

RootStatus polyRoots(Poly p, Poly& roots, const std::atomic<int>& abortFlag) {
    size_t lead = 0;
    while (lead < p.size() && p[lead].re == 0.0 && p[lead].im == 0.0) ++lead;
    p.erase(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(lead));
    if (p.size() < 2) return RootStatus::Constant;
    roots.clear();
    if (p.size() == 2) {
        roots.push_back(cxSubtract(Complex{0.0, 0.0}, cxDivide(p[1], p[0])));
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
    quadraticRoots(p[0], p[1], p[2], roots);
    return RootStatus::Ok;
}

}  // namespace vx
