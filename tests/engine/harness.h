#pragma once
// Runs submissions on a fresh engine and captures what the output pane
// would receive (CR LF kept as written).
#include <string>

#include "engine/session.h"
#include "shell/standard_library.h"

namespace vx::test {

class CaptureSink : public OutputSink {
public:
    void appendOutput(std::string_view text) override { output += text; }
    void setOutputColour(std::uint32_t colour) override { colours += colour == kAnswerColour ? 'R' : 'K'; }
    void setStatusText(std::string_view text) override { status = std::string(text); }
    std::string output, colours, status;
};

struct Session {
    Engine engine;
    CaptureSink sink;
    explicit Session(bool startup = true) {
        if (startup)
            startEngine(engine);
        else
            installStandardLibrary();
        engine.output = &sink;
    }
    // Output of one submission, with CR LF shown as LF.
    std::string run(const std::string& text) {
        sink.output.clear();
        submitText(engine, text);
        std::string plain;
        for (size_t k = 0; k < sink.output.size(); ++k)
            if (!(sink.output[k] == '\r' && k + 1 < sink.output.size() && sink.output[k + 1] == '\n'))
                plain += sink.output[k];
        return plain;
    }
};

}  // namespace vx::test
