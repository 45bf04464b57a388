#pragma once
// Polynomials as coefficient lists, highest degree first: {1, -3, 2} is
// x^2 - 3x + 2. The operations here are shared by the polynomial built-ins
// and the linear-algebra family.
#include <atomic>
#include <string>
#include <vector>

#include "engine/value.h"

namespace vx {

using Poly = std::vector<Complex>;

// Every coefficient exactly 0+0i (true for the empty list).
bool isZeroPoly(const Poly& p);
Poly polyProduct(const Poly& a, const Poly& b);
// The shorter operand is added aligned at the constant term.
Poly polySum(const Poly& a, const Poly& b);
// Long division; throws DivisionByZero for an empty divisor or a zero
// leading coefficient of the divisor.
void polyDivide(const Poly& a, const Poly& b, Poly& quotient, Poly& remainder);
Poly polyDerivative(const Poly& p);
Poly polyAntiderivative(const Poly& p);
// Lagrange polynomial through (xs[i], ys[i]); the xs must be distinct.
Poly polyInterpolate(const Poly& xs, const Poly& ys);
// "{c1,c2,...}" with 12 significant digits, no blanks.
std::string polyText(const Poly& p);

enum class RootStatus { Ok, Constant, Timeout, Aborted };
// Roots by Newton's method with deflation (see polynomial_roots.cpp).
RootStatus polyRoots(Poly p, Poly& roots, const std::atomic<int>& abortFlag);

// Kronecker factorisation as text "(f1)(f2)..."; false when aborted.
bool polyFactorText(const Poly& p, std::string& text, const std::atomic<int>& abortFlag);

}  // namespace vx
