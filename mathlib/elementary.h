#pragma once
// The table of one-argument elementary functions (sqrt, sin, gamma, ...),
// searched by name in table order by the evaluator.
#include <span>
#include <string_view>

#include "engine/value.h"

namespace vx {

using ElementaryFn = Complex (*)(Complex);

struct ElementaryEntry {
    bool matrixFunction;  // applied to a matrix means the matrix function
    std::string_view name;
    ElementaryFn apply;
};

// All 38 entries in their fixed order.
std::span<const ElementaryEntry> elementaryTable();

// Index into elementaryTable() or -1.
int findElementary(std::string_view name);

}  // namespace vx
