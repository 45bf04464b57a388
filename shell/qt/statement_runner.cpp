#include "shell/qt/statement_runner.h"

namespace vx {

void StatementRunner::start(std::function<void()> body) {
    if (thread_.joinable()) thread_.join();  // ended already: busy() was false
    running_.store(true);
    thread_ = std::thread([this, body = std::move(body)] {
        body();
        running_.store(false);
    });
}

void StatementRunner::stop() {
    if (running_.load() && engine_.working.load()) engine_.abortRequested.store(1);
    if (thread_.joinable()) thread_.join();
}

}  // namespace vx
