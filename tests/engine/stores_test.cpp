// The definition stores against a model that searches the tables front to
// back: random definitions and deletions over a few names must leave every
// name bound to the same entry, and new entries in the same places.
#include <gtest/gtest.h>

#include <random>

#include "engine/stores.h"
#include "engine/symbols.h"

namespace vx {
namespace {

template <typename Table>
int firstWith(const Table& table, const std::string& name) {
    for (size_t k = 0; k < table.size(); ++k)
        if (table[k].inUse && table[k].name == name) return static_cast<int>(k);
    return -1;
}

template <typename Table>
int firstFree(const Table& table) {
    for (size_t k = 0; k < table.size(); ++k)
        if (!table[k].inUse) return static_cast<int>(k);
    return -1;
}

void expectBindingsMatchTables(const Stores& s, const std::vector<std::string>& names, int round) {
    for (const std::string& name : names) {
        const SymbolBinding* b = s.findBinding(internSymbol(name));
        SymbolBinding none;
        if (!b) b = &none;
        EXPECT_EQ(b->globalComplex, firstWith(s.complexVariables, name)) << name << " round " << round;
        EXPECT_EQ(b->globalList, firstWith(s.listVariables, name)) << name << " round " << round;
        EXPECT_EQ(b->globalMatrix, firstWith(s.matrixVariables, name)) << name << " round " << round;
        EXPECT_EQ(b->function, firstWith(s.functions, name)) << name << " round " << round;
    }
}

// Also defines the same name twice in one table, which only direct store
// calls can do, so that the binding has to fall back to the next entry.
TEST(Stores, RandomDefinitionsKeepTheLowestEntryRule) {
    const std::vector<std::string> names = {"a", "b", "c", "d"};
    Stores s;
    std::mt19937 rng(17);
    for (int round = 0; round < 3000; ++round) {
        const std::string& name = names[rng() % names.size()];
        const int expectedSlot = firstFree(s.complexVariables);
        switch (rng() % 7) {
            case 0: EXPECT_EQ(s.createComplexVariable(name, Complex{1, 0}, 0), expectedSlot); break;
            case 1: s.createListVariable(name, {Complex{1, 0}}, 0); break;
            case 2: s.createMatrixVariable(name, 1, 1, {Complex{1, 0}}, rng() % 4 == 0); break;
            case 3: {
                UserFunction f;
                f.name = name;
                int slot = s.freeFunctionSlot();
                EXPECT_EQ(slot, firstFree(s.functions));
                s.storeFunction(slot, std::move(f));
                break;
            }
            case 4: s.deleteFunctionAt(s.findFunction(name)); break;
            case 5: s.deleteVariableAt(kComplex, static_cast<int>(rng() % 8)); break;
            default: s.deleteVariable(name); break;
        }
        expectBindingsMatchTables(s, names, round);
    }
}

TEST(Stores, FullTablesAndLockedEntries) {
    Stores s;
    for (int k = 0; k < kVariableSlots; ++k) ASSERT_EQ(s.createComplexVariable("v" + std::to_string(k), {}, 0), k);
    EXPECT_TRUE(s.variableTableFull(kComplex));
    EXPECT_FALSE(s.variableTableFull(kList));
    EXPECT_EQ(s.createComplexVariable("late", {}, 0), -1);
    EXPECT_EQ(s.deleteVariable("v700"), 1);
    EXPECT_EQ(s.createComplexVariable("late", {}, 1), 700);
    EXPECT_EQ(s.deleteVariable("late"), 2);
    EXPECT_EQ(s.deleteVariable("v700"), 0);
    s.clear();
    EXPECT_EQ(s.createComplexVariable("v5", {}, 0), 0);
    EXPECT_EQ(s.deleteVariable("v6"), 0);
}

// A redefinition in place must land where deleting and defining again
// would: refused when a free entry lies below, a list shares the name, or
// the entry is locked.
TEST(Stores, RedefinitionInPlaceOnlyWhereANewEntryWouldLand) {
    struct Case {
        const char* name;
        bool expected;
    } cases[] = {{"a", true}, {"c", false}, {"d", false}, {"e", false}, {"nobody", false}};
    for (const Case& c : cases) {
        Stores s;
        for (const char* name : {"a", "b", "c", "d", "e"}) s.createComplexVariable(name, {}, 0);
        s.deleteVariable("b");                       // a free entry below c, d and e
        s.createListVariable("d", {}, 0);            // d is also a list
        s.complexVariables[4].locked = 1;            // e is locked
        EXPECT_EQ(s.redefineComplexInPlace(internSymbol(c.name), Complex{7, 0}, 0), c.expected) << c.name;
        const int at = s.findBinding(internSymbol(c.name)) ? s.findBinding(internSymbol(c.name))->globalComplex : -1;
        if (at >= 0) {
            EXPECT_EQ(s.complexVariables[static_cast<size_t>(at)].value.re, c.expected ? 7 : 0) << c.name;
        }
    }
}

}  // namespace
}  // namespace vx
