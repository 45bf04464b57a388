#pragma once
// Every name a statement can call or refer to right now: the built-ins, the
// elementary functions and the definitions in the stores. One source for
// the completion offered by the desktop input pane and the terminal session.
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class Engine;

enum class NameKind { Builtin, Elementary, Variable, Function, Coordinates };

struct CatalogName {
    std::string name;
    NameKind kind;
};

// Sorted by name; a name defined as several kinds appears once per kind.
std::vector<CatalogName> catalogNames(const Engine& engine);

// The distinct names starting with prefix, sorted.
std::vector<std::string> namesStartingWith(const Engine& engine, std::string_view prefix);

// The name of the call whose round brackets are open at the end of
// `before` (the text up to the cursor): "take" in "1+take({1,2}, sin(x)".
// Empty outside any call.
std::string_view calledName(std::string_view before);

struct CallTipLine {
    std::string form;
    std::string meaning;
};

// How `name` is called: its rows of the call-form table, or for one of the
// user's functions (without an engine: none) its parameters.
std::vector<CallTipLine> callTip(const Engine* engine, std::string_view name);

}  // namespace vx
