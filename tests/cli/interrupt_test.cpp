// Ctrl+C in the terminal runner, delivered as real signals to a forked
// copy of the test: what the handler sets, and when it ends the process.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>

#include "cli/interrupt.h"

namespace {

// Exits with the flags set after `interrupts` Ctrl+C (1 abort, 2 end
// of submission, 4 run interrupted), or 130 when the handler ended it.
[[noreturn]] void interruptAndReport(vx::InterruptMode mode, bool running, int interrupts) {
    static vx::Engine engine;
    engine.working.store(running ? 1 : 0);
    vx::installInterruptHandler(engine, mode);
    for (int k = 0; k < interrupts; ++k) raise(SIGINT);
    std::exit(engine.abortRequested.load() + 2 * engine.endSubmission.load() + 4 * vx::runInterrupted());
}

TEST(InterruptDeathTest, FlagsAndTheSecondCtrlC) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        vx::InterruptMode mode;
        bool running;
        int interrupts, exitCode;
    } cases[] = {
        {vx::InterruptMode::Session, false, 1, 0},   // at the prompt: the line editor's business
        {vx::InterruptMode::Session, true, 1, 3},    // stops the statement, the session goes on
        {vx::InterruptMode::Session, true, 2, 130},  // ignored for less than a second: the end
        {vx::InterruptMode::Run, false, 1, 7},       // between statements of a run
        {vx::InterruptMode::Run, true, 1, 7},
        {vx::InterruptMode::Run, true, 2, 130},
    };
    for (const Case& c : cases)
        EXPECT_EXIT(interruptAndReport(c.mode, c.running, c.interrupts), testing::ExitedWithCode(c.exitCode), "")
            << static_cast<int>(c.mode) << " " << c.running << " " << c.interrupts;
}

}  // namespace
