#include "engine/name_catalog.h"

#include <algorithm>

#include "engine/builtin_table.h"
#include "engine/call_forms.h"
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

namespace {

bool isNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

std::string_view calledName(std::string_view before) {
    size_t open = std::string_view::npos;
    int depth = 0;
    for (size_t p = before.size(); p-- > 0 && open == std::string_view::npos;) {
        if (before[p] == ')') ++depth;
        if (before[p] == '(' && depth-- == 0) open = p;
    }
    if (open == std::string_view::npos) return {};
    // Blanks mean nothing in a statement: "sin (x)" calls sin.
    size_t end = open;
    while (end > 0 && (before[end - 1] == ' ' || before[end - 1] == '\t')) --end;
    size_t start = end;
    while (start > 0 && isNameChar(before[start - 1])) --start;
    // Names begin with a letter: in "2sin(" the name is "sin".
    while (start < end && before[start] >= '0' && before[start] <= '9') ++start;
    return before.substr(start, end - start);
}

std::vector<CallTipLine> callTip(const Engine* engine, std::string_view name) {
    std::vector<CallTipLine> out;
    for (const CallForm& c : callFormsOf(name)) out.push_back({std::string(c.form), std::string(c.meaning)});
    if (!out.empty() || !engine || name.empty()) return out;
    for (const UserFunction& f : engine->stores.functions) {
        if (!f.inUse || f.name != name || !f.definition) continue;
        std::string form = f.name + "(";
        for (size_t k = 0; k < f.definition->params.size(); ++k) form += (k ? ", " : "") + f.definition->params[k];
        out.push_back({form + ")", f.locked ? "a locked function" : "your function"});
    }
    return out;
}

}  // namespace vx
