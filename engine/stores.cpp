#include "engine/stores.h"

#include "engine/symbols.h"

namespace vx {
namespace {

template <typename Table>
int lowestFree(const Table& table) {
    for (size_t k = 0; k < table.size(); ++k)
        if (!table[k].inUse) return static_cast<int>(k);
    return -1;
}

// The lowest in-use entry bound to a name, or -1: where a name's binding
// moves when the entry it pointed at is deleted.
template <typename Table>
int lowestWithSymbol(const Table& table, int symbol) {
    for (size_t k = 0; k < table.size(); ++k)
        if (table[k].inUse && table[k].symbol == symbol) return static_cast<int>(k);
    return -1;
}

}  // namespace

Stores::Stores() { clear(); }

void Stores::clear() {
    complexVariables.assign(kVariableSlots, {});
    listVariables.assign(kVariableSlots, {});
    matrixVariables.assign(kVariableSlots, {});
    functions.assign(kFunctionSlots, {});
    coordinates.assign(kCoordinateSlots, {});
    localComplex.fill({});
    localList.fill({});
    localMatrix.fill({});
    localOrder.fill({});
    localCount = 0;
    localTypeCount = {0, 0, 0};
    bindings_.clear();
}

// The lowest in-use index of a name wins, as a front-to-back search would.
static void bindLowest(int& slot, int index) {
    if (slot < 0 || index < slot) slot = index;
}

int Stores::createComplexVariable(const std::string& name, Complex value, int locked) {
    int k = lowestFree(complexVariables);
    if (k < 0) return -1;
    ComplexVariable& v = complexVariables[static_cast<size_t>(k)];
    v = ComplexVariable{locked, name, true, value, internSymbol(name)};
    bindLowest(binding(v.symbol).globalComplex, k);
    return k;
}

int Stores::createListVariable(const std::string& name, std::vector<Complex> elements, int locked) {
    int k = lowestFree(listVariables);
    if (k < 0) return -1;
    ArrayVariable& v = listVariables[static_cast<size_t>(k)];
    v = ArrayVariable{locked, name, true, 0, 0, std::move(elements), internSymbol(name)};
    bindLowest(binding(v.symbol).globalList, k);
    return k;
}

int Stores::createMatrixVariable(const std::string& name, int columns, int rows, std::vector<Complex> elements,
                                 int locked) {
    int k = lowestFree(matrixVariables);
    if (k < 0) return -1;
    ArrayVariable& v = matrixVariables[static_cast<size_t>(k)];
    v = ArrayVariable{locked, name, true, columns, rows, std::move(elements), internSymbol(name)};
    bindLowest(binding(v.symbol).globalMatrix, k);
    return k;
}

bool Stores::variableTableFull(Tag tag) const {
    switch (tag) {
        case kComplex: return lowestFree(complexVariables) < 0;
        case kList: return lowestFree(listVariables) < 0;
        case kMatrix: return lowestFree(matrixVariables) < 0;
        default: return false;
    }
}

void Stores::unlinkGlobal(Tag tag, int index) {
    if (tag == kComplex) {
        ComplexVariable& v = complexVariables[static_cast<size_t>(index)];
        int symbol = v.symbol;
        v = ComplexVariable{};
        binding(symbol).globalComplex = lowestWithSymbol(complexVariables, symbol);
    } else {
        auto& table = tag == kList ? listVariables : matrixVariables;
        ArrayVariable& v = table[static_cast<size_t>(index)];
        int symbol = v.symbol;
        v = ArrayVariable{};
        int& slot = tag == kList ? binding(symbol).globalList : binding(symbol).globalMatrix;
        slot = lowestWithSymbol(table, symbol);
    }
}

int Stores::deleteVariableAt(Tag tag, int index) {
    if (index < 0 || index >= kVariableSlots) return 0;
    bool inUse = false;
    int locked = 0;
    if (tag == kComplex) {
        inUse = complexVariables[static_cast<size_t>(index)].inUse;
        locked = complexVariables[static_cast<size_t>(index)].locked;
    } else if (tag == kList || tag == kMatrix) {
        const ArrayVariable& v = (tag == kList ? listVariables : matrixVariables)[static_cast<size_t>(index)];
        inUse = v.inUse;
        locked = v.locked;
    }
    if (!inUse) return 0;
    if (locked) return 2;
    unlinkGlobal(tag, index);
    return 1;
}

int Stores::deleteVariable(const std::string& name) {
    // Index by index, complex before list before matrix: the first entry
    // with the name decides.
    const SymbolBinding* b = findBinding(internSymbol(name));
    if (!b) return 0;
    struct Candidate {
        Tag tag;
        int index;
    } found{kNone, kVariableSlots};
    if (b->globalComplex >= 0) found = {kComplex, b->globalComplex};
    if (b->globalList >= 0 && b->globalList < found.index) found = {kList, b->globalList};
    if (b->globalMatrix >= 0 && b->globalMatrix < found.index) found = {kMatrix, b->globalMatrix};
    if (found.tag == kNone) return 0;
    return deleteVariableAt(found.tag, found.index);
}

int Stores::findFunction(const std::string& name) const {
    for (size_t k = 0; k < functions.size(); ++k)
        if (functions[k].inUse && functions[k].name == name) return static_cast<int>(k);
    return -1;
}

int Stores::freeFunctionSlot() const { return lowestFree(functions); }

void Stores::storeFunction(int index, UserFunction f) {
    f.symbol = internSymbol(f.name);
    f.inUse = true;
    functions[static_cast<size_t>(index)] = std::move(f);
    bindLowest(binding(functions[static_cast<size_t>(index)].symbol).function, index);
}

void Stores::deleteFunctionAt(int index) {
    if (index < 0 || index >= kFunctionSlots) return;
    UserFunction& f = functions[static_cast<size_t>(index)];
    if (!f.inUse) return;
    int symbol = f.symbol;
    f = UserFunction{};
    binding(symbol).function = lowestWithSymbol(functions, symbol);
}

int Stores::findCoordinates(const std::string& name) const {
    for (size_t k = 0; k < coordinates.size(); ++k)
        if (coordinates[k].inUse && coordinates[k].name == name) return static_cast<int>(k);
    return -1;
}

int Stores::freeCoordinateSlot() const { return lowestFree(coordinates); }

void Stores::deleteCoordinatesAt(int index) {
    if (index >= 0 && index < kCoordinateSlots) coordinates[static_cast<size_t>(index)] = CoordinateSystem{};
}

// Locals are pushed and popped strictly last-in first-out, so the in-use
// entries of each table and of the order stack always form a prefix: the
// lowest free entry is the count in use and the newest binding is on top.
int Stores::pushLocal(const std::string& name, Value value) { return pushLocal(internSymbol(name), name, std::move(value)); }

int Stores::pushLocal(int symbol, const std::string& /*name: known by its symbol*/, Value value) {
    int type = value.tag == kComplex ? 0 : value.tag == kList ? 1 : 2;
    auto& table = type == 0 ? localComplex : type == 1 ? localList : localMatrix;
    int index = localTypeCount[static_cast<size_t>(type)];
    if (localCount >= kLocalOrderSlots || index >= kLocalSlots) return -1;
    LocalEntry& entry = table[static_cast<size_t>(index)];
    entry.inUse = true;
    entry.symbol = symbol;
    SymbolBinding& b = binding(symbol);
    int& head = type == 0 ? b.localComplex : type == 1 ? b.localList : b.localMatrix;
    entry.shadowed = head;
    head = index;
    entry.value = std::move(value);
    localOrder[static_cast<size_t>(localCount)] = LocalOrderEntry{true, entry.value.tag, index};
    ++localCount;
    ++localTypeCount[static_cast<size_t>(type)];
    return index;
}

void Stores::popLocals(int n) {
    for (; n > 0 && localCount > 0; --n) {
        LocalOrderEntry& order = localOrder[static_cast<size_t>(localCount - 1)];
        int type = order.tag == kComplex ? 0 : order.tag == kList ? 1 : 2;
        auto& table = type == 0 ? localComplex : type == 1 ? localList : localMatrix;
        LocalEntry& entry = table[static_cast<size_t>(order.index)];
        SymbolBinding& b = binding(entry.symbol);
        int& head = type == 0 ? b.localComplex : type == 1 ? b.localList : b.localMatrix;
        head = entry.shadowed;
        entry.inUse = false;
        entry.value.elements = {};
        order = LocalOrderEntry{};
        --localCount;
        --localTypeCount[static_cast<size_t>(type)];
    }
}

}  // namespace vx
