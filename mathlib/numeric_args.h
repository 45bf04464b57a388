#pragma once
// Argument helpers shared by the numeric built-in families: the checks of a
// real (integral) number argument in their fixed order, and conversions of
// doubles to machine integers that are defined for every double.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/evaluator.h"

namespace vx {

// Evaluates a number argument and applies the checks in order: the inner
// failure stands; "(NAME) Error: Data Type"; "(NAME) Error: Complex
// Argument"; with `integral`, "(NAME) Error: Non-Integral Argument".
bool readReal(Eval& ev, Ref arg, const char* name, double& out, bool integral);

// Evaluates an argument that must be a list: the inner failure stands,
// anything else is "(NAME) Error: Data Type".
bool readList(Eval& ev, Ref arg, const char* name, std::vector<Complex>& out);

// The low 32 bits of x truncated toward zero, as a signed integer: what a
// 64-bit truncation gives inside its range, computed exactly (fmod is exact)
// for every finite double; 0 for NaN and infinities.
std::int32_t lowInt32(double x);

// x truncated toward zero and clamped into [lo, hi]; NaN gives lo.
std::int64_t clampToInt64(double x, std::int64_t lo, std::int64_t hi);

// Text results (polydiv, polyfactor) travel in the error text; it is given
// room for all of it, however long.
Tag failWithText(Eval& ev, const std::string& text);

}  // namespace vx
