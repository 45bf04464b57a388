#pragma once
// Parsed statements. The parser produces an array of StackItems in postfix
// order; linking turns it into an Expression whose items also know where
// their operand sub-expressions end, so that evaluation never has to walk
// back over the operands to find them.
#include <memory>
#include <string>
#include <vector>

#include "engine/scalar_program.h"
#include "engine/value.h"

namespace vx {

enum ItemKind : int {
    kEmptySlot = 0,
    kLiteral = 1,
    kOperator = 4,
    kMarker = 5,
    kFunction = 6,
    kVariable = 9,
};

struct StackItem {
    int kind = kEmptySlot;
    int count = 0;    // operands of an operator or call, elements of a literal
    int columns = 0;  // matstruct: elements in the first row
    char code[2] = {0, 0};
    std::string name;
    Complex value{};
};

class Eval;
struct Value;
struct Args;
// A built-in: receives its operands unevaluated and evaluates them itself.
using Handler = Tag (*)(Eval& ev, const Args& args, Value& out);

// How a function item was resolved the first time it ran.
enum class Resolution : int { Unresolved, ListStruct, MatStruct, Builtin, Elementary, Dynamic };

// Names of variables that mean something other than a stored variable.
enum class SpecialName : int { None, ImaginaryUnit, LastResult };

struct Item : StackItem {
    int first = 0;         // index of the first item of this sub-expression
    int operandStart = 0;  // offset of this item's operand roots in Expression::operandRoots
    int symbol = -1;       // interned name of variables and functions
    SpecialName special = SpecialName::None;
    // Caches filled on first evaluation. Only one thread evaluates at a time.
    mutable Resolution resolution = Resolution::Unresolved;
    mutable Handler handler = nullptr;
    mutable int elementary = -1;
    int scalarProgram = -1;  // index into Expression::scalarPrograms
};

struct Expression {
    std::vector<Item> items;
    std::vector<int> operandRoots;  // -1 marks an absent operand
    std::vector<ScalarProgram> scalarPrograms;

    bool empty() const { return items.empty(); }
    int root() const { return static_cast<int>(items.size()) - 1; }
};

using SharedExpression = std::shared_ptr<const Expression>;

// A sub-expression: the expression and the index of its root item (-1: absent).
struct Ref {
    const Expression* expr = nullptr;
    int index = -1;

    bool valid() const { return expr && index >= 0; }
    const Item& item() const { return expr->items[static_cast<size_t>(index)]; }
};

// The operand sub-expressions of one call, first operand at index 0.
struct Args {
    const Expression* expr = nullptr;
    const int* roots = nullptr;
    int count = 0;
    std::string_view name;  // the operator symbol or function name, for messages

    Ref operator[](int i) const { return Ref{expr, roots[i]}; }
};

// Builds the executable expression from a postfix array.
Expression linkItems(std::vector<StackItem> items);
// Deep copy of the sub-expression ending at root; caches start empty.
SharedExpression cloneSubexpression(Ref root);
// Parses one statement without the syntax check (fixed internal texts).
Expression parseInternal(std::string_view statement);
// The name of a variable or function item, or nullptr.
const std::string* itemName(Ref ref);

}  // namespace vx
