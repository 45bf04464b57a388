// Running out of memory while an answer is printed: the statement answers
// "Error: Out of Memory" and the session carries on. This binary replaces
// the global allocator so that, once armed, any single allocation above a
// limit fails the way a full address space does.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/engine/harness.h"

namespace {

std::atomic<std::size_t> largestAllowed{static_cast<std::size_t>(-1)};

void* allocate(std::size_t size) {
    if (size > largestAllowed.load(std::memory_order_relaxed)) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

// Fails allocations above `bytes` while in scope.
struct AllocationLimit {
    explicit AllocationLimit(std::size_t bytes) { largestAllowed.store(bytes); }
    ~AllocationLimit() { largestAllowed.store(static_cast<std::size_t>(-1)); }
};

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace vx {
namespace {

// A sink that cannot take long texts, like a pane out of memory.
class ShortSink : public OutputSink {
public:
    void appendOutput(std::string_view text) override {
        if (text.size() > 1000) throw std::bad_alloc();
        output += text;
    }
    void setOutputColour(std::uint32_t colour) override { colours += colour == kAnswerColour ? 'R' : 'K'; }
    std::string output, colours;
};

TEST(AllocationFault, AnswerThatCannotBePrintedEndsOnlyItsStatement) {
    // 100000 complex elements take 1.6 MB; their text takes about 3.1 MB.
    const char* setup = "new(L,listgen(k/7+i/3,k,1,100000));\n7";
    const char* probe = "L\nsize(%)\nL;\nsize(%)\n1+1";
    const char* expected = ">  Error: Out of Memory\n>  1\n>  100000\n>  2\n";

    test::Session formatting;
    formatting.run(setup);
    formatting.sink.colours.clear();
    {
        AllocationLimit limit(2400000);
        EXPECT_EQ(formatting.run(probe), expected);
    }
    EXPECT_EQ(formatting.sink.colours, "RKRKRKRK");  // the colour is reset after the message

    Engine engine;
    installStandardLibrary();
    ShortSink sink;
    engine.output = &sink;
    submitText(engine, setup);
    sink.output.clear();
    submitText(engine, probe);
    EXPECT_EQ(sink.output, ">  Error: Out of Memory\r\n>  1\r\n>  100000\r\n>  2\r\n");
}

}  // namespace
}  // namespace vx
