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
    // Defines, deletes, plots, draws or draws a random number: a call that
    // must see the one shared engine, in order (never a sampling thread's).
    bool changesState = false;
};
constexpr bool kChangesState = true;

void registerBuiltins(std::span<const BuiltinEntry> family);
Handler builtinHandler(std::string_view name);  // nullptr when not built in
bool builtinChangesState(std::string_view name);
std::vector<std::string> builtinNames();        // every registered name, sorted

}  // namespace vx
