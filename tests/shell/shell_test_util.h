#pragma once
// An engine with the whole language whose output is collected in a string.
#include <string>

#include "engine/engine.h"
#include "engine/session.h"
#include "shell/standard_library.h"

namespace vx::test {

// Named apart from the engine tests' CaptureSink: both live in one test program.
class ShellCaptureSink : public OutputSink {
public:
    void appendOutput(std::string_view text) override { text_ += text; }
    void setOutputColour(std::uint32_t) override {}
    std::string take() { return std::exchange(text_, {}); }

private:
    std::string text_;
};

class TestEngine {
public:
    TestEngine() {
        startEngine(engine);
        engine.output = &sink;
    }
    // Runs a submission and returns what it printed.
    std::string run(std::string_view text) {
        engine.working.store(1);
        submitText(engine, text);
        return sink.take();
    }

    Engine engine;
    ShellCaptureSink sink;
};

}  // namespace vx::test
