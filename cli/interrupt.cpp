#include "cli/interrupt.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace vx {
namespace {

// Everything the handler touches: lock-free atomics set up before the
// handler is installed.
Engine* gEngine = nullptr;
InterruptMode gMode = InterruptMode::Run;
std::atomic<int> gInterrupted{0};
std::atomic<long long> gLastInterruptMs{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<long long>::is_always_lock_free);

long long monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);  // async-signal-safe
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void onInterrupt(int) {
    int savedErrno = errno;
    long long now = monotonicMs();
    bool running = gEngine->working.load() != 0;
    if (running && gEngine->abortRequested.load() && now - gLastInterruptMs.load() < 1000) {
        const char newline = '\n';
        [[maybe_unused]] ssize_t ignored = write(STDERR_FILENO, &newline, 1);
        _exit(130);
    }
    if (running || gMode == InterruptMode::Run) {
        gLastInterruptMs.store(now);
        if (gMode == InterruptMode::Run) gInterrupted.store(1);
        gEngine->endSubmission.store(1);
        gEngine->abortRequested.store(1);
    }
    errno = savedErrno;
}

}  // namespace

void installInterruptHandler(Engine& engine, InterruptMode mode) {
    gEngine = &engine;
    gMode = mode;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

bool runInterrupted() { return gInterrupted.load() != 0; }

}  // namespace vx
