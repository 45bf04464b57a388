// Deep recursion, aborts from another thread and hostile input: the engine
// must answer with a message, never crash or hang.
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "engine/parser.h"
#include "tests/engine/harness.h"

namespace vx {
namespace {

using namespace std::chrono_literals;

// Runs fn on a thread with the given stack size (like a worker thread).
void runWithStack(size_t stackSize, void (*fn)(void*), void* arg) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackSize);
    struct Call {
        void (*fn)(void*);
        void* arg;
    } call{fn, arg};
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void* p) -> void* {
                      auto* c = static_cast<Call*>(p);
                      c->fn(c->arg);
                      return nullptr;
                  },
                  &call),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

struct DeepCase {
    std::string input;
    std::string output;
};

TEST(Robustness, DeepRecursionEndsWithAMessageOnSmallAndDefaultStacks) {
    std::string chain(2040, '-');
    chain += "1";
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"newfunc(f,x,f(x))\nf(1)", {"Error: Too Many Local Variables", "Error: Recursion Too Deep"}},
        {"newfunc(g,x,g(g(x)))\ng(1)", {"Error: Too Many Local Variables", "Error: Recursion Too Deep"}},
        {"newfunc(h,x,sum(h(x),k,1,2))\nh(1)", {"Error: Too Many Local Variables", "Error: Recursion Too Deep"}},
        {chain.c_str(), {"1", "Error: Recursion Too Deep"}},
    };
    for (size_t stack : {size_t(640) * 1024, size_t(8) * 1024 * 1024}) {
        for (const auto& [input, accepted] : cases) {
            DeepCase c{input, ""};
            runWithStack(
                stack,
                [](void* p) {
                    auto* dc = static_cast<DeepCase*>(p);
                    test::Session s;
                    dc->output = s.run(dc->input);
                },
                &c);
            std::string last = c.output.substr(c.output.rfind(">  ") + 3);
            last.pop_back();  // line feed
            bool ok = false;
            for (const std::string& a : accepted) ok = ok || last == a;
            EXPECT_TRUE(ok) << std::string(input).substr(0, 40) << " on a " << stack << "-byte stack gave: " << last;
        }
    }
}

TEST(Robustness, AbortFromAnotherThreadEndsEveryLoopPromptly) {
    const char* loops[] = {
        "while(1,1;)",
        "for(k,1,2,0,k;)",
        "sum(k,k,1,2147483647)",
        "product(1,k,1,2147483647)",
        "seq(while(1,1;),2,3)",
        "seq(new(n,0);,while(n>=0,new(n,n+1);))",
        "seq(new(n,0);,for(k,1,2,0,new(n,n+k);))",
    };
    for (const char* loop : loops) {
        test::Session s;
        std::string output;
        s.engine.working.store(1);
        std::thread worker([&] { output = s.run(loop); });
        std::this_thread::sleep_for(30ms);
        auto asked = std::chrono::steady_clock::now();
        s.engine.abortRequested.store(1);
        worker.join();
        auto latency = std::chrono::steady_clock::now() - asked;
        EXPECT_NE(output.find(">  Error: Operation Aborted\n"), std::string::npos) << loop << ": " << output;
        EXPECT_LT(latency, 2s) << loop;
        EXPECT_EQ(s.engine.working.load(), 0);
        EXPECT_EQ(s.engine.abortRequested.load(), 0);
        EXPECT_EQ(s.engine.stores.localCount, 0) << loop;
    }
}

class NullSink : public OutputSink {
public:
    void appendOutput(std::string_view) override {}
    void setOutputColour(std::uint32_t) override {}
};

// Random statements from the language's own pieces and raw bytes, run for a
// few seconds; a watchdog aborts any evaluation that runs too long.
TEST(Robustness, RandomAndHostileTextNeverCrashes) {
    const char* pieces[] = {"1", "2.5", "0", "-", "+", "*", "/", "^", "!", ";", "=", "<", ">", "(", ")", "{",
                            "}", "[", "]", "][", ",", "%", "i", "x", "k", "f", "pi", "sin(", "sum(", "if(",
                            "new(x,", "newfunc(f,x,", "f(", "for(k,1,3,", "seq(", "1e308", "1e-320", "|",
                            "\n", " ", "/*", "*/", ".", "e", "delete(", "size(", "type(", "while(0,"};
    std::mt19937 rng(12345);
    Engine engine;
    NullSink sink;
    engine.output = &sink;
    test::Session warm(false);  // registers the built-ins
    std::atomic<bool> done{false};
    std::atomic<long> evaluations{0};
    std::thread watchdog([&] {
        long seen = -1;
        while (!done) {
            std::this_thread::sleep_for(200ms);
            long now = evaluations.load();
            if (now == seen) engine.abortRequested.store(1);
            seen = now;
        }
    });
    auto until = std::chrono::steady_clock::now() + 3s;
    int runs = 0;
    while (std::chrono::steady_clock::now() < until) {
        std::string text;
        int n = static_cast<int>(rng() % 40);
        for (int k = 0; k < n; ++k) {
            if (rng() % 10 == 0)
                text += static_cast<char>(rng() % 256);
            else
                text += pieces[rng() % std::size(pieces)];
        }
        engine.working.store(1);
        submitText(engine, text);
        ++evaluations;
        ++runs;
        ASSERT_EQ(engine.stores.localCount, 0) << text;
    }
    // Extremes: long statements, deep nesting, unbalanced everything.
    std::string extremes[] = {
        std::string(100000, '1'),
        "1" + std::string(50000, '+') + "1",
        std::string(100000, '('),
        std::string(100000, ']'),
        std::string(3000, '{') + "1" + std::string(3000, '}'),
        std::string(2000, '-') + "1",
        std::string(100000, '\xff'),
        [] {
            std::string s;
            for (int k = 0; k < 20000; ++k) s += "1+";
            return s + "1";
        }(),
    };
    for (const std::string& text : extremes) {
        engine.working.store(1);
        submitText(engine, text);
        ++evaluations;
    }
    done = true;
    watchdog.join();
    EXPECT_GT(runs, 100);
}

}  // namespace
}  // namespace vx
