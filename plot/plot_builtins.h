#pragma once
// The plotting families of built-ins: the plot commands with delplot and
// plotsize, and the canvas, L-system and polyhedron built-ins.
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> plotBuiltins();
std::span<const BuiltinEntry> canvasBuiltins();

}  // namespace vx
