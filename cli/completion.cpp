#include "cli/completion.h"

#include <algorithm>

#include "engine/name_catalog.h"

namespace vx {
namespace {

bool isNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A name that only calls: no variable or coordinate system has it.
bool isCallableOnly(const Engine& engine, const std::string& name) {
    bool callable = false;
    for (const CatalogName& c : catalogNames(engine)) {
        if (c.name != name) continue;
        if (c.kind == NameKind::Variable || c.kind == NameKind::Coordinates) return false;
        callable = true;
    }
    return callable;
}

}  // namespace

Completion completeName(const Engine& engine, std::string_view before) {
    size_t start = before.size();
    while (start > 0 && isNameChar(before[start - 1])) --start;
    // Names begin with a letter: in "2pi" the name is "pi".
    while (start < before.size() && !isLetter(before[start])) ++start;
    std::string_view prefix = before.substr(start);
    if (prefix.empty()) return {};
    std::vector<std::string> names = namesStartingWith(engine, prefix);
    if (names.empty()) return {};
    if (names.size() == 1) {
        Completion c{names.front().substr(prefix.size()), {}};
        if (isCallableOnly(engine, names.front())) c.insertion += '(';
        return c;
    }
    size_t common = prefix.size();
    while (std::all_of(names.begin(), names.end(), [&](const std::string& n) {
        return common < n.size() && n[common] == names.front()[common];
    }))
        ++common;
    if (common > prefix.size()) return {names.front().substr(prefix.size(), common - prefix.size()), {}};
    return {"", std::move(names)};
}

}  // namespace vx
