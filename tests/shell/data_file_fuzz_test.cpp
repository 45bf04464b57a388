// Thousands of truncated and mutated user-data files: the loader must stop
// cleanly on each, and whatever it installed must evaluate without harm.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "engine/evaluator.h"
#include "mathlib/complex.h"
#include "shell/data_file.h"
#include "tests/shell/shell_test_util.h"

namespace vx {
namespace {

// Calls every installed user function with ones for its parameters. Long
// loops stop at once: the abort flag is set.
void callEverything(Engine& engine) {
    engine.abortRequested.store(1);
    ErrorText error(512);
    Eval ev(engine, error);
    for (const UserFunction& f : engine.stores.functions) {
        if (!f.inUse || f.locked) continue;
        std::vector<StackItem> items(static_cast<size_t>(f.paramCount()));
        for (StackItem& one : items) one.kind = kLiteral, one.value = {1, 0};
        StackItem call;
        call.kind = kFunction;
        call.name = f.name;
        call.count = f.paramCount();
        items.push_back(call);
        Expression e = linkItems(std::move(items));
        Value v;
        try {
            ev.evaluate(Ref{&e, e.root()}, v);
        } catch (const DivisionByZero&) {
            // The statement boundary would catch it; nothing else may escape.
        }
    }
    engine.abortRequested.store(0);
}

TEST(UserDataFuzz, DamagedFilesNeverCrash) {
    shelltest::ShellEngine source;
    source.run(
        "new(a,3+4i)\nnew(L,{1,2,-0.5})\nnew(M,[1,2,3][4,5,6])\nnewfunc(h,x,[x,2][3,x^2])\n"
        "newfunc(s,n,sum(k^2,k,1,n))\nnewfunc(r,x,if(x>0,r(x-1),{x,x}))\nnewcoords(mine,u,v,[u*2,v])");
    const std::string original = encodeUserData(source.engine.stores);
    ASSERT_GT(original.size(), 200u);

    std::mt19937 random(20240607);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int runs = 0, stopped = 0;
    for (; runs < 20000 && std::chrono::steady_clock::now() < deadline; ++runs) {
        std::string bytes = original;
        switch (runs % 4) {
            case 0:  // cut anywhere
                bytes.resize(pick(bytes.size()));
                break;
            case 1:  // flip a few bytes
                for (int k = 0, n = 1 + static_cast<int>(pick(4)); k < n; ++k)
                    bytes[pick(bytes.size())] = static_cast<char>(pick(256));
                break;
            case 2: {  // overwrite four bytes with an extreme count
                static constexpr std::int32_t extremes[] = {-1, 0, 3, 64, 65, 1 << 30, INT32_MIN, INT32_MAX};
                size_t at = pick(bytes.size() - 4);
                std::int32_t v = extremes[pick(std::size(extremes))];
                for (int k = 0; k < 4; ++k) bytes[at + static_cast<size_t>(k)] = static_cast<char>(v >> (8 * k));
                break;
            }
            default:  // insert or delete a run of bytes
                if (random() % 2)
                    bytes.insert(pick(bytes.size()), std::string(1 + pick(8), static_cast<char>(pick(256))));
                else
                    bytes.erase(pick(bytes.size()), 1 + pick(8));
                break;
        }
        Engine engine;
        DataLoadResult r = loadUserData(bytes, engine.stores, [](const std::string&) {});
        stopped += !r.error.empty();
        EXPECT_TRUE(r.error.empty() || r.error.rfind("Error reading file: ", 0) == 0) << r.error;
        if (runs % 8 == 0) callEverything(engine);
    }
    EXPECT_GT(runs, 200);  // a sanitizer build on a busy machine manages about 900
    EXPECT_GT(stopped, runs / 4);
}

}  // namespace
}  // namespace vx
