#pragma once
// The process-wide table of built-in functions, name to handler. Each family
// (definitions, control flow, number theory, lists, plots, ...) keeps its
// own table in its own file and registers it once at start-up.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/expression.h"

namespace vx {

struct BuiltinEntry {
    std::string_view name;
    Handler handler;
};

void registerBuiltins(std::span<const BuiltinEntry> family);
Handler builtinHandler(std::string_view name);  // nullptr when not built in
std::vector<std::string> builtinNames();        // every registered name, sorted

}  // namespace vx
