#pragma once
// rref, nullspace, eigenvectors and matfunc: the built-ins that rest on row
// reduction. The last three work by evaluating small expressions over
// temporary locals, so they reach eigenvalues, ident, take, diagonal and
// inverse by name like any user expression would.
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> rowReductionBuiltins();

}  // namespace vx
