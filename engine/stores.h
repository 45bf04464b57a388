#pragma once
// The global definition stores (variables of three types, user functions,
// coordinate systems) and the local scope stack that calls and iterating
// built-ins bind their names in. Table sizes are part of the language: a
// full table is reported, never overrun.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/expression.h"
#include "engine/slot_set.h"
#include "engine/value.h"

namespace vx {

constexpr int kVariableSlots = 1024;
constexpr int kFunctionSlots = 1024;
constexpr int kCoordinateSlots = 256;
constexpr int kLocalSlots = 64;        // per type
constexpr int kLocalOrderSlots = 192;  // all types together
constexpr int kMaxParameters = 64;

struct ComplexVariable {
    int locked = 0;
    std::string name;
    bool inUse = false;
    Complex value{};
    int symbol = -1;
};

// A list or matrix variable; a list has rows == 0 and columns == 0.
struct ArrayVariable {
    int locked = 0;
    std::string name;
    bool inUse = false;
    int columns = 0;
    int rows = 0;
    std::vector<Complex> elements;
    int symbol = -1;
};

// Parameters and body of a user function. Shared, so that a call in
// progress keeps them alive even when the function is deleted meanwhile.
struct FunctionDefinition {
    std::vector<std::string> params;
    std::vector<int> paramSymbols;
    SharedExpression body;
};

struct UserFunction {
    bool inUse = false;
    int locked = 0;
    std::string name;
    std::shared_ptr<const FunctionDefinition> definition;
    int symbol = -1;

    int paramCount() const { return definition ? static_cast<int>(definition->params.size()) : 0; }
};

struct CoordinateSystem {
    bool inUse = false;
    int locked = 0;
    int dimension = 0;
    std::string name;
    std::array<std::string, 3> coordinateNames;
    SharedExpression formula;
};

// Where a name is bound, kept per interned symbol so that a lookup is an
// array access. Local chains run from the newest binding of the name to
// older ones (the newest shadows the rest).
struct SymbolBinding {
    int localComplex = -1;
    int localList = -1;
    int localMatrix = -1;
    int globalComplex = -1;
    int globalList = -1;
    int globalMatrix = -1;
    int function = -1;
    // How many global entries of each table carry the name: when the last
    // one goes, the binding is cleared without searching the table.
    int complexEntries = 0;
    int listEntries = 0;
    int matrixEntries = 0;
    int functionEntries = 0;
};

// A local binding. Its name is its interned symbol (symbolName gives the
// text), so binding a parameter copies no string.
struct LocalEntry {
    bool inUse = false;
    int symbol = -1;
    int shadowed = -1;  // the previous binding of the same name and type
    Value value;
};

struct LocalOrderEntry {
    bool inUse = false;
    Tag tag = kNone;
    int index = 0;
};

class Stores {
public:
    Stores();

    // Global variables. Creation takes the lowest free entry; -1 when full.
    int createComplexVariable(const std::string& name, Complex value, int locked);
    int createComplexVariable(int symbol, const std::string& name, Complex value, int locked);
    int createListVariable(const std::string& name, std::vector<Complex> elements, int locked);
    int createMatrixVariable(const std::string& name, int columns, int rows, std::vector<Complex> elements,
                             int locked);
    bool variableTableFull(Tag tag) const;
    // Gives the unlocked complex variable of this name a new value and
    // lock flag in its own entry, where deleting it and defining it again
    // would put it back (no free entry below it, no list or matrix of the
    // name). False, changing nothing, when that does not hold.
    bool redefineComplexInPlace(int symbol, Complex value, int locked);
    // Where that redefinition would write, or nullptr.
    Complex* redefinableNumber(int symbol);
    // The number a name stands for, local before global, or nullptr when
    // it stands for no number.
    const Complex* numberOf(int symbol) const;
    // 0 none, 1 deleted, 2 locked (left in place).
    int deleteVariable(const std::string& name);
    int deleteVariable(int symbol);
    int deleteVariableAt(Tag tag, int index);

    // User functions and coordinate systems.
    int findFunction(const std::string& name) const;  // -1 when none
    int freeFunctionSlot() const;
    void deleteFunctionAt(int index);
    int findCoordinates(const std::string& name) const;
    int freeCoordinateSlot() const;
    void deleteCoordinatesAt(int index);
    void storeFunction(int index, UserFunction f);

    void clear();

    SymbolBinding& binding(int symbol) {
        if (symbol >= static_cast<int>(bindings_.size())) bindings_.resize(static_cast<size_t>(symbol) + 64);
        return bindings_[static_cast<size_t>(symbol)];
    }
    const SymbolBinding* findBinding(int symbol) const {
        return symbol >= 0 && symbol < static_cast<int>(bindings_.size()) ? &bindings_[static_cast<size_t>(symbol)]
                                                                           : nullptr;
    }

    std::vector<ComplexVariable> complexVariables;
    std::vector<ArrayVariable> listVariables;
    std::vector<ArrayVariable> matrixVariables;
    std::vector<UserFunction> functions;
    std::vector<CoordinateSystem> coordinates;

    // Local scopes.
    std::array<LocalEntry, kLocalSlots> localComplex;
    std::array<LocalEntry, kLocalSlots> localList;
    std::array<LocalEntry, kLocalSlots> localMatrix;
    std::array<LocalOrderEntry, kLocalOrderSlots> localOrder;
    int localCount = 0;
    std::array<int, 3> localTypeCount{};  // complex, list, matrix

    // Binds a local; returns the table index, or -1 when the tables are full.
    int pushLocal(const std::string& name, Value value);
    int pushLocal(int symbol, const std::string& name, Value value);
    void popLocals(int n);

private:
    int createArrayVariable(Tag tag, int symbol, const std::string& name, int columns, int rows,
                            std::vector<Complex> elements, int locked);
    void unlinkGlobal(Tag tag, int index);
    std::vector<SymbolBinding> bindings_;
    SlotSet<kVariableSlots> takenComplex_, takenList_, takenMatrix_;
    SlotSet<kFunctionSlots> takenFunctions_;
};

}  // namespace vx
