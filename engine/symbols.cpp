#include "engine/symbols.h"

#include <deque>
#include <mutex>
#include <unordered_map>

namespace vx {
namespace {

struct SymbolTable {
    std::mutex mutex;
    std::deque<std::string> names;  // deque: references stay valid as it grows
    std::unordered_map<std::string_view, int> ids;
};

SymbolTable& table() {
    static SymbolTable t;
    return t;
}

}  // namespace

int internSymbol(std::string_view name) {
    SymbolTable& t = table();
    std::lock_guard lock(t.mutex);
    auto found = t.ids.find(name);
    if (found != t.ids.end()) return found->second;
    t.names.emplace_back(name);
    int id = static_cast<int>(t.names.size()) - 1;
    t.ids.emplace(t.names.back(), id);
    return id;
}

const std::string& symbolName(int symbol) {
    SymbolTable& t = table();
    std::lock_guard lock(t.mutex);
    return t.names.at(static_cast<size_t>(symbol));
}

}  // namespace vx
