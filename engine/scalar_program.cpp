#include "engine/scalar_program.h"

#include <algorithm>

#include "engine/builtin_table.h"
#include "engine/expression.h"
#include "mathlib/elementary.h"

namespace vx {
namespace {

// The op for one item of a pure sub-expression, or false when the item is
// not pure scalar arithmetic.
bool opFor(const Item& item, ScalarOp& op) {
    switch (item.kind) {
        case kLiteral:
            op.code = ScalarCode::PushValue;
            op.value = item.value;
            return true;
        case kVariable:
            if (item.special == SpecialName::ImaginaryUnit) {
                op.code = ScalarCode::PushValue;
                op.value = Complex{0.0, 1.0};
            } else if (item.special == SpecialName::LastResult) {
                op.code = ScalarCode::PushLast;
            } else {
                op.code = ScalarCode::PushName;
                op.symbol = item.symbol;
            }
            return true;
        case kFunction: {
            if (item.count != 1 || builtinHandler(item.name)) return false;
            int k = findElementary(item.name);
            if (k < 0) return false;
            op.code = ScalarCode::Apply;
            op.apply = elementaryTable()[static_cast<size_t>(k)].apply;
            return true;
        }
        case kOperator:
            break;
        default:
            return false;
    }
    const char a = item.code[0], b = item.code[1];
    if (item.count == 1) {
        if (b != 0 || (a != '_' && a != '!')) return false;
        op.code = a == '_' ? ScalarCode::Negate : ScalarCode::Factorial;
        return true;
    }
    if (item.count != 2) return false;
    struct Entry {
        char first, second;
        ScalarCode code;
    };
    static constexpr Entry kCodes[] = {
        {'+', 0, ScalarCode::Add},         {'-', 0, ScalarCode::Subtract},      {'*', 0, ScalarCode::Multiply},
        {'/', 0, ScalarCode::Divide},      {'^', 0, ScalarCode::Power},         {'=', 0, ScalarCode::Equal},
        {'=', '=', ScalarCode::Equal},     {'!', '=', ScalarCode::NotEqual},    {'<', '>', ScalarCode::NotEqual},
        {'>', '<', ScalarCode::NotEqual},  {'<', 0, ScalarCode::Less},          {'>', 0, ScalarCode::Greater},
        {'<', '=', ScalarCode::LessEqual}, {'=', '<', ScalarCode::LessEqual},   {'>', '=', ScalarCode::GreaterEqual},
        {'=', '>', ScalarCode::GreaterEqual},
    };
    for (const Entry& e : kCodes)
        if (e.first == a && e.second == b) {
            op.code = e.code;
            return true;
        }
    return false;
}

}  // namespace

void compileScalarPrograms(Expression& e) {
    const size_t n = e.items.size();
    // pure[j]: item j and all it depends on are pure scalar arithmetic;
    // depth[j]: stack slots its program needs.
    std::vector<char> pure(n, 0);
    std::vector<int> depth(n, 0);
    std::vector<ScalarOp> ops(n);
    for (size_t j = 0; j < n; ++j) {
        const Item& item = e.items[j];
        if (!opFor(item, ops[j])) continue;
        bool p = true;
        int need = 1;
        if (item.kind == kOperator || item.kind == kFunction) {
            for (int k = 0; k < item.count; ++k) {
                int root = e.operandRoots[static_cast<size_t>(item.operandStart + k)];
                if (root < 0 || !pure[static_cast<size_t>(root)]) {
                    p = false;
                    break;
                }
                need = std::max(need, k + depth[static_cast<size_t>(root)]);
            }
        }
        pure[j] = p && need <= ScalarProgram::kMaxStack;
        depth[j] = need;
    }
    // A program is built for each pure operator or call whose parent is not
    // pure; its items are exactly the contiguous run first..root.
    std::vector<char> hasPureParent(n, 0);
    for (size_t j = 0; j < n; ++j) {
        const Item& item = e.items[j];
        if (!pure[j] || (item.kind != kOperator && item.kind != kFunction)) continue;
        for (int k = 0; k < item.count; ++k)
            hasPureParent[static_cast<size_t>(e.operandRoots[static_cast<size_t>(item.operandStart + k)])] = 1;
    }
    for (size_t j = 0; j < n; ++j) {
        Item& item = e.items[j];
        if (!pure[j] || hasPureParent[j] || (item.kind != kOperator && item.kind != kFunction)) continue;
        ScalarProgram program;
        for (int k = item.first; k <= static_cast<int>(j); ++k) program.ops.push_back(ops[static_cast<size_t>(k)]);
        item.scalarProgram = static_cast<int>(e.scalarPrograms.size());
        e.scalarPrograms.push_back(std::move(program));
    }
}

}  // namespace vx
