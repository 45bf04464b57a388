#pragma once
// Result formatting: numbers with a given count of significant digits in
// %G style with three-digit exponents, complex numbers as "3+-4i", lists
// and matrices in the same bracket syntax the parser reads.
#include <string>

#include "engine/value.h"

namespace vx {

std::string formatNumber(double value, int digits);
std::string formatComplex(Complex z, int digits);
std::string formatList(const std::vector<Complex>& elements, int digits);
std::string formatMatrix(int columns, int rows, const std::vector<Complex>& elements, int digits);
std::string formatValue(const Value& value, int digits);

}  // namespace vx
