#pragma once
// The terminal runner's output: what the output pane would show, with CR LF
// written as LF, answer lines coloured when writing to a terminal.
#include <cstdio>
#include <string>

#include "engine/engine.h"

namespace vx {

class StdoutSink : public OutputSink {
public:
    StdoutSink(std::FILE* out, bool colour) : out_(out), colour_(colour) {}

    // Written in pieces between the CRs of CR LF: a long answer is never
    // copied, so printing it needs no memory beyond its text.
    void appendOutput(std::string_view text) override {
        size_t start = 0;
        for (size_t k = 0; k + 1 < text.size(); ++k) {
            if (text[k] != '\r' || text[k + 1] != '\n') continue;
            std::fwrite(text.data() + start, 1, k - start, out_);
            start = k + 1;
        }
        std::fwrite(text.data() + start, 1, text.size() - start, out_);
    }
    void setOutputColour(std::uint32_t colour) override {
        if (!colour_) return;
        std::fputs(colour == kAnswerColour ? "\x1b[31m" : "\x1b[0m", out_);
    }
    void setStatusText(std::string_view text) override { status = std::string(text); }

    std::string status;

private:
    std::FILE* out_;
    bool colour_;
};

}  // namespace vx
