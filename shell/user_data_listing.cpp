#include "shell/user_data_listing.h"

#include <algorithm>

namespace vx {

std::vector<UserDataLine> listUserFunctions(const Stores& stores) {
    std::vector<UserDataLine> lines;
    for (size_t k = 0; k < stores.functions.size(); ++k) {
        const UserFunction& f = stores.functions[k];
        if (!f.inUse || f.locked) continue;
        std::string text = f.name + "(";
        if (f.definition) {
            for (size_t p = 0; p < f.definition->params.size(); ++p) {
                if (p) text += ",";
                text += f.definition->params[p];
            }
        }
        text += ")";
        lines.push_back({'f', static_cast<int>(k), f.name, std::move(text)});
    }
    return lines;
}

std::vector<UserDataLine> listUserVariables(const Stores& stores) {
    std::vector<UserDataLine> lines;
    for (int k = 0; k < kVariableSlots; ++k) {
        auto at = static_cast<size_t>(k);
        const ComplexVariable& c = stores.complexVariables[at];
        if (c.inUse && !c.locked) lines.push_back({'#', k, c.name, c.name + ": cpx"});
        const ArrayVariable& l = stores.listVariables[at];
        if (l.inUse && !l.locked)
            lines.push_back({'$', k, l.name, l.name + ": list (" + std::to_string(l.elements.size()) + ")"});
        const ArrayVariable& m = stores.matrixVariables[at];
        if (m.inUse && !m.locked)
            lines.push_back({'@', k, m.name,
                             m.name + ": matrix (" + std::to_string(m.rows) + "x" + std::to_string(m.columns) + ")"});
    }
    return lines;
}

std::vector<UserDataLine> listUserData(const Stores& stores, UserDataView view) {
    return view == UserDataView::Functions ? listUserFunctions(stores) : listUserVariables(stores);
}

namespace {

// The entry a line was made from, if it is still there and still unlocked.
bool stillListed(const Stores& stores, const UserDataLine& line) {
    if (line.slot < 0) return false;
    auto at = static_cast<size_t>(line.slot);
    auto same = [&](const auto& entry) { return entry.inUse && !entry.locked && entry.name == line.name; };
    switch (line.tag) {
        case 'f': return at < stores.functions.size() && same(stores.functions[at]);
        case '#': return at < stores.complexVariables.size() && same(stores.complexVariables[at]);
        case '$': return at < stores.listVariables.size() && same(stores.listVariables[at]);
        case '@': return at < stores.matrixVariables.size() && same(stores.matrixVariables[at]);
        default: return false;
    }
}

}  // namespace

std::optional<UserDataView> deleteUserData(Stores& stores, const std::vector<UserDataLine>& lines,
                                           const std::vector<int>& selectedRows,
                                           const std::function<void(const std::string&)>& print) {
    if (lines.empty()) return std::nullopt;
    std::vector<int> rows = selectedRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    bool functionSelected = false;
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(lines.size())) continue;
        const UserDataLine& line = lines[static_cast<size_t>(row)];
        if (line.tag == 'f') functionSelected = true;
        if (!stillListed(stores, line)) continue;
        print("Deleted '" + line.name + "'\r\n");
        if (line.tag == 'f')
            stores.deleteFunctionAt(line.slot);
        else
            stores.deleteVariableAt(line.tag, line.slot);
    }
    return functionSelected ? UserDataView::Functions : UserDataView::Variables;
}

}  // namespace vx
