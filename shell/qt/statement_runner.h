#pragma once
// The statement thread: runs one submission or batch file at a time off
// the window's thread. The window never waits for it except at the end.
#include <atomic>
#include <functional>
#include <thread>

#include "engine/engine.h"

namespace vx {

class StatementRunner {
public:
    explicit StatementRunner(Engine& engine) : engine_(engine) {}
    ~StatementRunner() { stop(); }
    StatementRunner(const StatementRunner&) = delete;
    StatementRunner& operator=(const StatementRunner&) = delete;

    // A thread is running (it may be just finishing).
    bool busy() const { return running_.load(); }
    // Starts the body on a new thread; the previous one must have ended.
    void start(std::function<void()> body);
    // Asks a running evaluation to stop and waits for the thread.
    void stop();

private:
    Engine& engine_;
    std::thread thread_;
    std::atomic<bool> running_{false};
};

}  // namespace vx
