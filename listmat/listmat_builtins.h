#pragma once
// The lists-and-matrices families: list built-ins, matrix-structure
// built-ins and statistics, each registered as one table.
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> listBuiltins();
std::span<const BuiltinEntry> matrixStructureBuiltins();
std::span<const BuiltinEntry> statisticsBuiltins();

}  // namespace vx
