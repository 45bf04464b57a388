// Invariants of the list, matrix and statistics built-ins that the golden
// scripts cannot reach: released temporaries, abort polling, calls without
// operands, extreme indices and NaN ordering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "engine/builtin_table.h"
#include "listmat/list_support.h"
#include "tests/listmat/listmat_test_util.h"

namespace vx {
namespace {

// Every failure, wherever it happens, leaves no temporary variable bound.
TEST(ListmatInvariants, FailuresReleaseTemporaries) {
    testing::TestEngine t;
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"listgen({k},k,1,3)", "(listgen) Error: Data Type"},
        {"listgen(k+nosuch,k,1,3)", "Error: Unknown Variable 'nosuch'"},
        {"listgen(1/(k-2),k,1,3)", "Error: Division by Zero"},
        {"listgen(variance(drop({k,k},0)),k,1,2)", "Error: Division by Zero"},
        {"apply([[1,2]],{x},x)", "(apply) Error: Data Type"},
        {"matgen(r/(c-1),r,0,1,c,0,2)", "Error: Division by Zero"},
        {"matgen(nosuch,r,0,1,c,0,2)", "Error: Unknown Variable 'nosuch'"},
        {"union({1},listgen(k,k,1,2),2)", "(union) Error: Data Type"},
        {"intersection({1,2},{2},[[2]])", "(intersection) Error: Data Type"},
        {"listgen(union({k},take(emptylist,0)),k,1,2)", "(take) Error: Dimension"},
    };
    for (const auto& c : cases) {
        auto r = t.run(c.statement);
        EXPECT_EQ(r.tag, kNone) << c.statement;
        EXPECT_EQ(r.message, c.message) << c.statement;
        EXPECT_EQ(t.engine.stores.localCount, 0) << c.statement;
    }
    for (const char* name : {"k", "x", "r", "c", "unionset01", "unionset02", "fintersect01", "fintersect02"})
        EXPECT_EQ(t.run(name).message, std::string("Error: Unknown Variable '") + name + "'");
}

TEST(ListmatInvariants, GeneratorsPollAbort) {
    testing::TestEngine t;
    t.engine.abortRequested.store(1);
    for (const char* statement : {"listgen(k,k,1,10)", "apply([[1,2]],x,x)", "matgen(r,r,0,1,c,0,1)"}) {
        auto r = t.run(statement);
        EXPECT_EQ(r.message, "Error: Operation Aborted") << statement;
        EXPECT_EQ(t.engine.stores.localCount, 0) << statement;
    }
    t.engine.abortRequested.store(0);
    EXPECT_EQ(t.run("listgen(k,k,1,10)").tag, kList);
}

// The language cannot spell a call without operands, but internal callers
// may make one: the variadic built-ins must not read a missing operand.
TEST(ListmatInvariants, CallsWithoutOperands) {
    testing::TestEngine t;
    Eval ev(t.engine, t.error);
    Args none{nullptr, nullptr, 0, ""};
    for (const char* name : {"join", "union", "intersection"}) {
        Value v;
        EXPECT_EQ(builtinHandler(name)(ev, none, v), kList) << name;
        EXPECT_TRUE(v.elements.empty()) << name;
    }
    for (const char* name : {"swap", "swaprow", "swapcol"}) {
        Value v;
        EXPECT_EQ(builtinHandler(name)(ev, none, v), kNone) << name;
        EXPECT_EQ(t.error.text(), "Error: Empty Stack") << name;
    }
    for (const char* name : {"take", "drop", "listgen", "matgen", "mean", "max", "insertrow", "diagonal"}) {
        Value v;
        EXPECT_EQ(builtinHandler(name)(ev, none, v), kNone) << name;
        EXPECT_EQ(t.error.text(), "(" + std::string(name) + ") Error: Syntax") << name;
    }
}

// Indices far outside any list clamp without overflowing an int; values
// that are not integers at all are refused.
TEST(ListmatInvariants, ExtremeIndices) {
    testing::TestEngine t;
    const double inf = std::numeric_limits<double>::infinity();
    t.defineList("wild", {{1e300, 0}, {-1e300, 0}, {inf, 0}, {-inf, 0}});
    const struct {
        const char* statement;
        double value;
        const char* message;
    } cases[] = {
        {"take({1,2,3},take(wild,0))", 3, ""},
        {"take({1,2,3},take(wild,1))", 1, ""},
        {"take({1,2,3},take(wild,2))", 0, "(take) Error: Non-Integral Index"},
        {"insert({1,2},take(wild,0),9)", 0, ""},
        {"take(takerow([[1,2][3,4]],take(wild,1)),0)", 0, "(take) Error: Data Type"},
        {"listgen(k,k,1,3E9)", 0, "(listgen) Error: Non-Integral Endpoint"},
        {"listgen(k,k,-2147483648,2147483647)", 0, "(listgen) Error: Dimension"},
        {"matgen(1,r,1,100000,c,1,100000)", 0, "(matgen) Error: Dimension"},
    };
    for (const auto& c : cases) {
        auto r = t.run(c.statement);
        EXPECT_EQ(r.message, c.message) << c.statement;
        if (r.tag == kComplex) {
            EXPECT_EQ(r.value.z.re, c.value) << c.statement;
        }
    }
    auto appended = t.run("insert({1,2},take(wild,0),9)");
    ASSERT_EQ(appended.tag, kList);
    EXPECT_EQ(appended.value.elements.back().re, 9);
}

// NaNs must not break the sort; they go last, and max/median/min agree
// with order.
TEST(ListmatInvariants, OrderIsATotalOrderEvenWithNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> part(-3, 3);
    std::vector<Complex> e;
    for (int k = 0; k < 2000; ++k) {
        double re = part(rng), im = part(rng);
        if (k % 17 == 0) re = nan;
        if (k % 23 == 0) im = nan;
        e.push_back({re, im});
    }
    testing::TestEngine t;
    t.defineList("data", e);
    auto sorted = t.run("order(data)");
    ASSERT_EQ(sorted.tag, kList);
    ASSERT_EQ(sorted.value.elements.size(), e.size());
    EXPECT_TRUE(std::is_sorted(sorted.value.elements.begin(), sorted.value.elements.end(), listmat::orderLess));
    EXPECT_TRUE(std::isnan(sorted.value.elements.back().re));
    EXPECT_TRUE(std::isnan(t.run("max(data)").value.z.re));
    auto low = t.run("min(data)").value.z;
    auto first = sorted.value.elements.front();
    EXPECT_TRUE(low.re == first.re && low.im == first.im);
}

}  // namespace
}  // namespace vx
