#include "engine/name_catalog.h"

#include <algorithm>

#include "engine/builtin_table.h"
#include "engine/engine.h"
#include "mathlib/elementary.h"

namespace vx {

std::vector<CatalogName> catalogNames(const Engine& engine) {
    std::vector<CatalogName> out;
    for (const std::string& n : builtinNames()) out.push_back({n, NameKind::Builtin});
    for (const ElementaryEntry& e : elementaryTable()) out.push_back({std::string(e.name), NameKind::Elementary});
    const Stores& s = engine.stores;
    for (const ComplexVariable& v : s.complexVariables)
        if (v.inUse) out.push_back({v.name, NameKind::Variable});
    for (const auto* table : {&s.listVariables, &s.matrixVariables})
        for (const ArrayVariable& v : *table)
            if (v.inUse) out.push_back({v.name, NameKind::Variable});
    for (const UserFunction& f : s.functions)
        if (f.inUse) out.push_back({f.name, NameKind::Function});
    for (const CoordinateSystem& c : s.coordinates)
        if (c.inUse) out.push_back({c.name, NameKind::Coordinates});
    std::sort(out.begin(), out.end(), [](const CatalogName& a, const CatalogName& b) {
        return a.name != b.name ? a.name < b.name : a.kind < b.kind;
    });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const CatalogName& a, const CatalogName& b) {
                              return a.name == b.name && a.kind == b.kind;
                          }),
              out.end());
    return out;
}

std::vector<std::string> namesStartingWith(const Engine& engine, std::string_view prefix) {
    std::vector<std::string> out;
    for (CatalogName& c : catalogNames(engine))
        if (std::string_view(c.name).starts_with(prefix) && (out.empty() || out.back() != c.name))
            out.push_back(std::move(c.name));
    return out;
}

}  // namespace vx
