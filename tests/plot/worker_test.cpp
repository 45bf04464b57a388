// The precalculation worker: flags, progress texts, refusal and abort.
#include <chrono>
#include <thread>

#include "tests/plot/plot_fixture.h"

namespace vx::testing {
namespace {

using namespace std::chrono_literals;

// ThreadSanitizer slows every memory access (and the release of the
// sample grid) by an order of magnitude.
#if defined(__SANITIZE_THREAD__)
constexpr auto kAbortLatencyBound = 500ms;
#else
constexpr auto kAbortLatencyBound = 50ms;
#endif

TEST_F(PlotTest, WorkerReportsProgressAndCompletion) {
    struct Case {
        int samples;
        std::vector<std::string> progress;  // expected progress texts, in order
    };
    const Case cases[] = {
        {10, {}},                                                   // fewer than 20 evaluations
        {20, {"Precalculating plot: 95%"}},                         // 19 x 100 / 20
        {45, {"Precalculating plot: 42%", "Precalculating plot: 86%"}},  // 19, 39 of 45
    };
    run("plot(x, x, 0, 1)");
    for (const Case& c : cases) {
        host.clearLog();
        plots.quality.plotSamples = c.samples;
        ASSERT_TRUE(precalc(0));
        std::vector<std::string> history = host.statusHistory();
        ASSERT_EQ(history.size(), c.progress.size() + 1) << c.samples;
        for (size_t k = 0; k < c.progress.size(); ++k) EXPECT_EQ(history[k], c.progress[k]);
        EXPECT_TRUE(history.back().starts_with("Generated plot (")) << history.back();
        EXPECT_TRUE(history.back().ends_with(" seconds)"));
        EXPECT_EQ(plots.shownPlot.load(), 0);
        EXPECT_EQ(engine.working.load(), 0);
        EXPECT_EQ(host.repaints(), 1);
        EXPECT_EQ(host.output(), "");
    }
}

TEST_F(PlotTest, StartIsRefusedWhileWorking) {
    run("plot(x, x, 0, 1)");
    engine.working = 1;  // a statement is being evaluated
    EXPECT_FALSE(plots.startPrecalculation(0));
    EXPECT_EQ(host.output(), "Error: Already Working\r\n");
    engine.working = 0;
    EXPECT_TRUE(precalc(0));
}

TEST_F(PlotTest, GridSizesBelowTwoAreRefused) {
    const std::pair<const char*, int QualitySettings::*> cases[] = {
        {"plot(x, x, 0, 1)", &QualitySettings::plotSamples},
        {"plot3d(u, u, 0, 1, w, 0, 1)", &QualitySettings::plot3dSamplesV},
        {"implicitplot(x, x, 0, 1, y, 0, 1)", &QualitySettings::implicitGrid},
        {"implicitplot3d(x, x, 0, 1, y, 0, 1, z, 0, 1)", &QualitySettings::implicit3dGrid},
        {"tubeplot([t, t, t, 1], t, 0, 1)", &QualitySettings::tubeSides},
        {"spacecurve([t, t, t], t, 0, 1)", &QualitySettings::spacecurveSamples},
        {"vectorplot([x, y], x, 0, 1, y, 0, 1)", &QualitySettings::vector2dGrid},
    };
    int slot = 0;
    for (const auto& [statement, setting] : cases) {
        QualitySettings saved = plots.quality;
        plots.quality.*setting = 1;
        run(statement);
        host.clearLog();
        EXPECT_FALSE(precalc(slot)) << statement;
        EXPECT_NE(host.output().find("Data Type"), std::string::npos) << statement << ": " << host.output();
        plots.quality = saved;
        EXPECT_TRUE(precalc(slot++)) << statement;
    }
}

TEST_F(PlotTest, GridsTooLargeToHoldAreRefused) {
    const std::pair<const char*, int QualitySettings::*> cases[] = {
        {"plot(x, x, 0, 1)", &QualitySettings::plotSamples},
        {"plot3d(u, u, 0, 1, w, 0, 1)", &QualitySettings::plot3dSamplesU},
        {"implicitplot3d(x, x, 0, 1, y, 0, 1, z, 0, 1)", &QualitySettings::implicit3dGrid},
        {"tubeplot([t, t, t, 1], t, 0, 1)", &QualitySettings::tubeSamples},
        {"vectorplot3d([x, y, z], x, 0, 1, y, 0, 1, z, 0, 1)", &QualitySettings::vector3dGrid},
    };
    int slot = 0;
    for (const auto& [statement, setting] : cases) {
        QualitySettings saved = plots.quality;
        plots.quality.*setting = 2147483647;
        run(statement);
        host.clearLog();
        EXPECT_FALSE(precalc(slot++)) << statement;
        EXPECT_EQ(host.output(), "Error: Out of Memory\r\n") << statement;
        plots.quality = saved;
    }
}

// Aborts a long iso-surface run as soon as it reports progress. Built and
// run also under ThreadSanitizer.
TEST_F(PlotTest, AbortStopsTheWorkerPromptly) {
    plots.quality.implicit3dGrid = 120;  // 1.7 million evaluations: far longer than the test
    run("implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)");
    ASSERT_TRUE(plots.startPrecalculation(0));
    while (host.statusHistory().empty()) std::this_thread::sleep_for(1ms);
    auto requested = std::chrono::steady_clock::now();
    engine.abortRequested = 1;
    while (engine.working.load()) std::this_thread::sleep_for(100us);
    auto latency = std::chrono::steady_clock::now() - requested;
    plots.waitForWorker();
    EXPECT_LT(latency, kAbortLatencyBound);
    EXPECT_EQ(host.output(), "Error: Operation Aborted\r\n");
    EXPECT_EQ(host.status(), "Precalculation aborted!");
    for (const std::string& s : host.statusHistory()) EXPECT_NE(s, "Error while precalculating!");
    EXPECT_EQ(plots.meshReady.load(), 0);
    EXPECT_TRUE(plots.mesh.empty());
    EXPECT_EQ(engine.abortRequested.load(), 0);
    EXPECT_EQ(host.repaints(), 1);  // the area goes white
    // The locals are released: the session works on, and a retry succeeds.
    EXPECT_EQ(engine.stores.localCount, 0);
    plots.quality.implicit3dGrid = 12;
    EXPECT_TRUE(precalc(0));
}

TEST_F(PlotTest, ClosingThePlotBeingComputedStopsTheWorker) {
    plots.quality.implicit3dGrid = 120;
    run("implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)");
    ASSERT_TRUE(plots.startPrecalculation(0));
    while (host.statusHistory().empty()) std::this_thread::sleep_for(1ms);
    plots.deletePlotByTab(1);
    EXPECT_FALSE(plots.workerRunning());
    EXPECT_EQ(engine.working.load(), 0);
    EXPECT_EQ(engine.abortRequested.load(), 0);
    EXPECT_EQ(host.tabCount(), 1);
    EXPECT_EQ(host.output(), "Error: Operation Aborted\r\n");
}

TEST_F(PlotTest, RegistryDestructionJoinsARunningWorker) {
    auto engine2 = std::make_unique<Engine>();
    startEngine(*engine2);
    PlotRegistry& other = plotRegistry(*engine2);
    other.quality.implicit3dGrid = 120;
    submitText(*engine2, "implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)");
    ASSERT_TRUE(other.startPrecalculation(0));
    while (other.headlessHost().statusHistory().empty()) std::this_thread::sleep_for(1ms);
    engine2.reset();  // aborts and joins; nothing is left running
    SUCCEED();
}

// Graph expressions that would add, delete or size plots while they are
// being calculated: the worker refuses them and fails like any graph error,
// the registry stays as it was and the session goes on.
TEST_F(PlotTest, RegistryCommandsAreRefusedDuringPrecalculation) {
    struct Case {
        const char* statements;
        const char* command;
    };
    const Case cases[] = {
        {"plot3d(delplot(0), u, 0, 1, w, 0, 1)", "delplot"},
        {"newfunc(g, x, delplot(0))\ntubeplot([t, t, t, g(t)], t, 0, 1)", "delplot"},
        {"plot(x + delplot(0), x, 0, 1)", "delplot"},  // another plot's slot
        {"plot3d(plot3d(u, u, 0, 1, w, 0, 1), u, 0, 1, w, 0, 1)", "plot3d"},
        {"spacecurve([t, t, customplot(0, 1, 0, 1)], t, 0, 1)", "customplot"},
        {"implicitplot(x - plotsize(0), x, 0, 1, y, 0, 1)", "plotsize"},
    };
    run("plot(x, x, 0, 1)");  // slot 0, the one the expressions name
    for (const Case& c : cases) {
        int slot = static_cast<int>(host.tabs().size()) - 1;
        run(c.statements);
        std::vector<std::string> tabsBefore = host.tabs();
        host.clearLog();
        EXPECT_FALSE(precalc(slot)) << c.statements;
        EXPECT_EQ(host.output(),
                  "(" + std::string(c.command) + ") Error: Not allowed while a plot is being calculated\r\n")
            << c.statements;
        EXPECT_EQ(host.status(), "Error while precalculating!");
        EXPECT_EQ(host.tabs(), tabsBefore);
        EXPECT_EQ(engine.working.load(), 0);
    }
    // Outside a precalculation the same commands work.
    EXPECT_EQ(run1("delplot(0)"), "(delplot) Plot 0 deleted");
    EXPECT_TRUE(run1("plot3d(u, u, 0, 1, w, 0, 1)").ends_with("Created Plot 0"));
}

// The window thread switching tabs while the worker meets refused commands:
// run also under ThreadSanitizer.
TEST_F(PlotTest, RefusedCommandsWhileTheWindowSwitchesTabs) {
    run("plot3d(delplot(1) + u, u, 0, 1, w, 0, 1)\n"
        "plot(plot(x, x, 0, 1), x, 0, 1)\n"
        "implicitplot3d(x^2 + y^2 + z^2 - plotsize(0), x, -2, 2, y, -2, 2, z, -2, 2)\n"
        "implicitplot3d(x^2 + y^2 + z^2 - 1, x, -2, 2, y, -2, 2, z, -2, 2)");
    plots.quality.implicit3dGrid = 60;  // long enough to be switched away from
    std::thread window([this] {
        for (int step = 0; step < 200; ++step) {
            int tab = 1 + step % 4;
            host.selectTab(tab);
            if (engine.working.load()) engine.abortRequested.store(1);
            else plots.startPrecalculation(plots.slotForTab(tab));
            std::this_thread::sleep_for(200us);
        }
        if (plots.workerRunning()) engine.abortRequested.store(1);
        plots.waitForWorker();
    });
    window.join();
    engine.abortRequested.store(0);
    EXPECT_EQ(host.tabs(), (std::vector<std::string>{"Input", "Plot 0", "Plot 1", "Plot 2", "Plot 3"}));
    std::string out = host.output();
    EXPECT_NE(out.find("Not allowed while a plot is being calculated"), std::string::npos);
    for (size_t at = 0; at < out.size();) {
        size_t end = out.find("\r\n", at);
        std::string line = out.substr(at, end - at);
        EXPECT_TRUE(line.ends_with("Error: Not allowed while a plot is being calculated") ||
                    line == "Error: Operation Aborted" || line == "Error: Already Working")
            << line;
        at = end + 2;
    }
    EXPECT_EQ(engine.working.load(), 0);
}

}  // namespace
}  // namespace vx::testing
