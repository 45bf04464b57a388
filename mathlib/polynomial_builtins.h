#pragma once
// polyroots, polyfactor, polydiff, polyint, polymul, polyadd, polydiv,
// polypower and polyinterp.
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> polynomialBuiltins();

}  // namespace vx
