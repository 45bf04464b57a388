#pragma once
// The threads that plots compute on besides the caller's own: started when
// first wanted, kept for the next run and ended with the program. Sampling,
// normals, colours, iso-surface crossings and OBJ text all borrow them, so
// a plot pays for starting its threads once per process, not per step.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>

namespace vx {

// Runs `task` on up to `count` pool threads at once while the caller goes
// on; wait() (or the destructor) returns when every copy has finished.
// Tasks share out their work among themselves (each takes the next piece),
// so fewer copies than asked for, when the system has no more threads to
// give, only makes the run slower. A task that throws passes its exception
// on to wait().
class HelperThreads {
public:
    HelperThreads(int count, std::function<void()> task);
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // How many copies of the task were started.
    int count() const { return started_; }
    // Waits for every copy; rethrows the first exception a copy threw.
    void wait();
    // Whether every copy finished within `limit` (no rethrow).
    bool waitFor(std::chrono::milliseconds limit);

private:
    void finished(std::exception_ptr error);

    std::function<void()> task_;
    std::mutex mutex_;
    std::condition_variable done_;
    int started_ = 0, running_ = 0;
    std::exception_ptr error_;
};

}  // namespace vx
