#pragma once
// An engine with the whole language whose output is collected in a string.
#include <string>

#include "engine/engine.h"
#include "engine/session.h"
#include "shell/standard_library.h"

namespace vx::shelltest {

class ShellSink : public OutputSink {
public:
    void appendOutput(std::string_view text) override { text_ += text; }
    void setOutputColour(std::uint32_t) override {}
    std::string take() { return std::exchange(text_, {}); }

private:
    std::string text_;
};

class ShellEngine {
public:
    ShellEngine() {
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
    ShellSink sink;
};

}  // namespace vx::shelltest
