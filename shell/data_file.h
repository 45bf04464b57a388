#pragma once
// The user-data file: every unlocked definition (variables, user
// functions, coordinate systems) as a tagged entry, formulas as streams of
// their postfix items.
#include <functional>
#include <string>
#include <string_view>

#include "engine/stores.h"

namespace vx {

constexpr size_t kMaxFileName = 1023;  // longest name a file may hold

// Complex, list and matrix variables, then functions, then coordinate
// systems, each table in slot order; locked entries are left out.
std::string encodeUserData(const Stores& stores);

struct DataLoadResult {
    std::string error;  // "Error reading file: ..." when the reading stopped
    int installed = 0;
};

// Installs the entries one by one. Each installed entry is reported with
// its "Loaded ..." line. Reading stops at the first malformed entry, which
// installs nothing; entries before it stay. An entry whose name belongs to
// a locked definition, or that finds its table full, is skipped.
DataLoadResult loadUserData(std::string_view bytes, Stores& stores,
                            const std::function<void(const std::string&)>& print);

}  // namespace vx
