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

// Where a name's binding moves when the entry it pointed at is deleted: the
// lowest other entry with the name. Only a name held by several entries of
// one table (which `new` never makes) needs the search.
template <typename Table>
int nextBinding(const Table& table, int symbol, int& entries) {
    if (--entries <= 0) {
        entries = 0;
        return -1;
    }
    for (size_t k = 0; k < table.size(); ++k)
        if (table[k].inUse && table[k].symbol == symbol) return static_cast<int>(k);
    return -1;
}

// The lowest in-use index of a name wins, as a front-to-back search would.
void bindLowest(int& slot, int& entries, int index) {
    if (slot < 0 || index < slot) slot = index;
    ++entries;
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
    takenComplex_.clear();
    takenList_.clear();
    takenMatrix_.clear();
    takenFunctions_.clear();
}

int Stores::createComplexVariable(const std::string& name, Complex value, int locked) {
    return createComplexVariable(internSymbol(name), name, value, locked);
}

int Stores::createComplexVariable(int symbol, const std::string& name, Complex value, int locked) {
    int k = takenComplex_.lowestFree();
    if (k < 0) return -1;
    takenComplex_.take(k);
    complexVariables[static_cast<size_t>(k)] = ComplexVariable{locked, name, true, value, symbol};
    SymbolBinding& b = binding(symbol);
    bindLowest(b.globalComplex, b.complexEntries, k);
    return k;
}

int Stores::createArrayVariable(Tag tag, int symbol, const std::string& name, int columns, int rows,
                                std::vector<Complex> elements, int locked) {
    SlotSet<kVariableSlots>& taken = tag == kList ? takenList_ : takenMatrix_;
    int k = taken.lowestFree();
    if (k < 0) return -1;
    taken.take(k);
    auto& table = tag == kList ? listVariables : matrixVariables;
    table[static_cast<size_t>(k)] = ArrayVariable{locked, name, true, columns, rows, std::move(elements), symbol};
    SymbolBinding& b = binding(symbol);
    if (tag == kList)
        bindLowest(b.globalList, b.listEntries, k);
    else
        bindLowest(b.globalMatrix, b.matrixEntries, k);
    return k;
}

int Stores::createListVariable(const std::string& name, std::vector<Complex> elements, int locked) {
    return createArrayVariable(kList, internSymbol(name), name, 0, 0, std::move(elements), locked);
}

int Stores::createMatrixVariable(const std::string& name, int columns, int rows, std::vector<Complex> elements,
                                 int locked) {
    return createArrayVariable(kMatrix, internSymbol(name), name, columns, rows, std::move(elements), locked);
}

bool Stores::variableTableFull(Tag tag) const {
    switch (tag) {
        case kComplex: return takenComplex_.full();
        case kList: return takenList_.full();
        case kMatrix: return takenMatrix_.full();
        default: return false;
    }
}

Complex* Stores::redefinableNumber(int symbol) {
    const SymbolBinding* b = findBinding(symbol);
    if (!b || b->globalComplex < 0 || b->globalList >= 0 || b->globalMatrix >= 0) return nullptr;
    ComplexVariable& v = complexVariables[static_cast<size_t>(b->globalComplex)];
    if (v.locked) return nullptr;
    const int free = takenComplex_.lowestFree();
    if (free >= 0 && free < b->globalComplex) return nullptr;
    return &v.value;
}

bool Stores::redefineComplexInPlace(int symbol, Complex value, int locked) {
    Complex* at = redefinableNumber(symbol);
    if (!at) return false;
    *at = value;
    complexVariables[static_cast<size_t>(binding(symbol).globalComplex)].locked = locked;
    return true;
}

const Complex* Stores::numberOf(int symbol) const {
    const SymbolBinding* b = findBinding(symbol);
    if (!b) return nullptr;
    if (b->localComplex >= 0) return &localComplex[static_cast<size_t>(b->localComplex)].value.z;
    if (b->localList >= 0 || b->localMatrix >= 0 || b->globalComplex < 0) return nullptr;
    return &complexVariables[static_cast<size_t>(b->globalComplex)].value;
}

void Stores::unlinkGlobal(Tag tag, int index) {
    if (tag == kComplex) {
        ComplexVariable& v = complexVariables[static_cast<size_t>(index)];
        int symbol = v.symbol;
        v = ComplexVariable{};
        takenComplex_.release(index);
        SymbolBinding& b = binding(symbol);
        b.globalComplex = nextBinding(complexVariables, symbol, b.complexEntries);
    } else {
        auto& table = tag == kList ? listVariables : matrixVariables;
        ArrayVariable& v = table[static_cast<size_t>(index)];
        int symbol = v.symbol;
        v = ArrayVariable{};
        (tag == kList ? takenList_ : takenMatrix_).release(index);
        SymbolBinding& b = binding(symbol);
        if (tag == kList)
            b.globalList = nextBinding(table, symbol, b.listEntries);
        else
            b.globalMatrix = nextBinding(table, symbol, b.matrixEntries);
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

int Stores::deleteVariable(const std::string& name) { return deleteVariable(internSymbol(name)); }

int Stores::deleteVariable(int symbol) {
    // Index by index, complex before list before matrix: the first entry
    // with the name decides.
    const SymbolBinding* b = findBinding(symbol);
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
    const SymbolBinding* b = findBinding(internSymbol(name));
    return b ? b->function : -1;
}

int Stores::freeFunctionSlot() const { return takenFunctions_.lowestFree(); }

void Stores::storeFunction(int index, UserFunction f) {
    deleteFunctionAt(index);
    f.symbol = internSymbol(f.name);
    f.inUse = true;
    functions[static_cast<size_t>(index)] = std::move(f);
    takenFunctions_.take(index);
    SymbolBinding& b = binding(functions[static_cast<size_t>(index)].symbol);
    bindLowest(b.function, b.functionEntries, index);
}

void Stores::deleteFunctionAt(int index) {
    if (index < 0 || index >= kFunctionSlots) return;
    UserFunction& f = functions[static_cast<size_t>(index)];
    if (!f.inUse) return;
    int symbol = f.symbol;
    f = UserFunction{};
    takenFunctions_.release(index);
    SymbolBinding& b = binding(symbol);
    b.function = nextBinding(functions, symbol, b.functionEntries);
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
