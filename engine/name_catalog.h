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

}  // namespace vx
