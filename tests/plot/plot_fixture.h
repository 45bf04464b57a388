#pragma once
// An engine with the whole language, its plot registry on the headless
// host, and helpers to run statements and precalculate plots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/session.h"
#include "plot/plot_registry.h"
#include "shell/standard_library.h"

namespace vx::testing {

class CaptureSink : public OutputSink {
public:
    void appendOutput(std::string_view text) override { text_ += text; }
    void setOutputColour(std::uint32_t) override {}
    std::string take() {
        std::string t;
        t.swap(text_);
        return t;
    }

private:
    std::string text_;
};

class PlotTest : public ::testing::Test {
protected:
    PlotTest() : plots(plotRegistry(engine)), host(plots.headlessHost()) {
        startEngine(engine);
        engine.output = &sink;
    }

    // The answer lines of the statements, without ">  " and CR LF.
    std::vector<std::string> run(const std::string& text) {
        submitText(engine, text);
        std::vector<std::string> lines;
        std::string all = sink.take();
        for (size_t at = 0; at < all.size();) {
            size_t end = all.find("\r\n", at);
            if (end == std::string::npos) end = all.size();
            std::string line = all.substr(at, end - at);
            if (line.starts_with(">  ")) line = line.substr(3);
            lines.push_back(line);
            at = end + 2;
        }
        return lines;
    }
    std::string run1(const std::string& statement) {
        auto lines = run(statement);
        return lines.empty() ? std::string() : lines.back();
    }

    // Precalculates on the worker thread and waits; whether the mesh is ready.
    bool precalc(int slot) {
        EXPECT_TRUE(plots.startPrecalculation(slot));
        plots.waitForWorker();
        return plots.meshReady.load() == 1;
    }
    // Creates one plot with the statement and precalculates it.
    PlotRecord& make(const std::string& statement) {
        std::string answer = run1(statement);
        int slot = -1;
        std::sscanf(answer.c_str() + answer.find("Created Plot ") + 13, "%d", &slot);
        EXPECT_NE(answer.find("Created Plot"), std::string::npos) << answer;
        EXPECT_TRUE(precalc(slot)) << host.output();
        lastSlot = slot;
        return plots.slots[static_cast<size_t>(slot < 0 ? 0 : slot)];
    }

    Engine engine;
    CaptureSink sink;
    PlotRegistry& plots;
    HeadlessPlotHost& host;
    int lastSlot = -1;
};

}  // namespace vx::testing
