#pragma once
// limit, int, diff and solve: numeric calculus on a user expression with
// one variable bound to chosen values.
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> calculusBuiltins();

}  // namespace vx
