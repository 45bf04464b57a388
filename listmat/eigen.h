#pragma once
// rref, nullspace, eigenvectors and matfunc: the built-ins that rest on row
// reduction and on the eigen-decomposition. nullspace reaches rref by name
// over a temporary local, like any user expression would; matfunc applies
// its expression to the eigenvalue list bound to the named variable.
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> rowReductionBuiltins();

}  // namespace vx
