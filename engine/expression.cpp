#include "engine/expression.h"

#include "engine/parser.h"
#include "engine/symbols.h"

namespace vx {

Expression linkItems(std::vector<StackItem> items) {
    Expression e;
    e.items.reserve(items.size());
    for (int j = 0; j < static_cast<int>(items.size()); ++j) {
        Item item;
        static_cast<StackItem&>(item) = std::move(items[static_cast<size_t>(j)]);
        item.first = j;
        if (item.kind == kVariable || item.kind == kFunction) {
            item.symbol = internSymbol(item.name);
            if (item.kind == kVariable) {
                if (item.name == "i" || item.name == "I") item.special = SpecialName::ImaginaryUnit;
                if (item.name == "%") item.special = SpecialName::LastResult;
            }
        }
        if (item.kind == kOperator || item.kind == kFunction) {
            // Operand roots from the last operand backwards: each operand's
            // sub-expression ends just before the next one starts.
            int n = item.count < 0 ? 0 : item.count;
            item.operandStart = static_cast<int>(e.operandRoots.size());
            e.operandRoots.resize(e.operandRoots.size() + static_cast<size_t>(n), -1);
            int next = j - 1;
            for (int k = n - 1; k >= 0; --k) {
                if (next < 0) break;
                e.operandRoots[static_cast<size_t>(item.operandStart + k)] = next;
                item.first = e.items[static_cast<size_t>(next)].first;
                next = item.first - 1;
            }
            if (next < 0 && n > 0 && e.operandRoots[static_cast<size_t>(item.operandStart)] < 0) item.first = 0;
        }
        e.items.push_back(std::move(item));
    }
    compileScalarPrograms(e);
    return e;
}

SharedExpression cloneSubexpression(Ref root) {
    if (!root.valid()) return std::make_shared<Expression>();
    const Item& last = root.item();
    std::vector<StackItem> copy;
    copy.reserve(static_cast<size_t>(root.index - last.first + 1));
    for (int j = last.first; j <= root.index; ++j)
        copy.push_back(static_cast<const StackItem&>(root.expr->items[static_cast<size_t>(j)]));
    return std::make_shared<Expression>(linkItems(std::move(copy)));
}

Expression parseInternal(std::string_view statement) { return linkItems(convertStatement(statement)); }

const std::string* itemName(Ref ref) {
    if (!ref.valid()) return nullptr;
    const Item& item = ref.item();
    if (item.kind == kVariable || item.kind == kFunction) return &item.name;
    return nullptr;
}

}  // namespace vx
