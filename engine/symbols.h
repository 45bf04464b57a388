#pragma once
// Process-wide interning of names: every name in a linked expression and in
// the definition stores is also known by a small integer, so that resolving
// a variable in a loop is an array access rather than a string search.
#include <string>
#include <string_view>

namespace vx {

int internSymbol(std::string_view name);
const std::string& symbolName(int symbol);

}  // namespace vx
