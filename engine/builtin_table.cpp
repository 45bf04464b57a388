#include "engine/builtin_table.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace vx {
namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<std::string, Handler> handlers;
    std::unordered_set<std::string> changingState;
};

Table& table() {
    static Table t;
    return t;
}

}  // namespace

void registerBuiltins(std::span<const BuiltinEntry> family) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    for (const BuiltinEntry& e : family) {
        t.handlers[std::string(e.name)] = e.handler;
        if (e.changesState) t.changingState.emplace(e.name);
    }
}

Handler builtinHandler(std::string_view name) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    auto found = t.handlers.find(std::string(name));
    return found == t.handlers.end() ? nullptr : found->second;
}

bool builtinChangesState(std::string_view name) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.changingState.contains(std::string(name));
}

std::vector<std::string> builtinNames() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    std::vector<std::string> names;
    names.reserve(t.handlers.size());
    for (const auto& [name, handler] : t.handlers) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vx
