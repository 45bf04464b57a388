#include "plot/thread_pool.h"

#include <deque>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace vx {

namespace {

// The process's plot threads. A job is handed out only to a thread that is
// free for it (one is started when none is), so every job starts at once
// and jobs never wait behind each other.
class ThreadPool {
public:
    static ThreadPool& instance() {
        static ThreadPool pool;
        return pool;
    }

    ~ThreadPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    // Queues up to `count` calls of job; returns how many were queued.
    int post(int count, const std::function<void()>& job) {
        std::lock_guard lock(mutex_);
        int posted = 0;
        for (; posted < count; ++posted) {
            if (idle_ <= static_cast<int>(queue_.size())) {
                try {
                    threads_.emplace_back([this] { serve(); });
                } catch (const std::system_error&) {
                    break;  // no more threads to be had
                }
                ++idle_;  // counted before it runs, so that the next job starts another
            }
            queue_.push_back(job);
        }
        wake_.notify_all();
        return posted;
    }

private:
    ThreadPool() = default;

    void serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            std::function<void()> job = std::move(queue_.front());
            queue_.pop_front();
            --idle_;
            lock.unlock();
            job();
            job = nullptr;  // before the lock: it may own captured state
            lock.lock();
            ++idle_;
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    std::vector<std::thread> threads_;
    int idle_ = 0;
    bool stopping_ = false;
};

}  // namespace

HelperThreads::HelperThreads(int count, std::function<void()> task) : task_(std::move(task)) {
    if (count <= 0) return;
    std::lock_guard lock(mutex_);
    started_ = running_ = ThreadPool::instance().post(count, [this] {
        std::exception_ptr error;
        try {
            task_();
        } catch (...) {
            error = std::current_exception();
        }
        finished(error);
    });
}

void HelperThreads::finished(std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    if (error && !error_) error_ = error;
    if (--running_ == 0) done_.notify_all();
}

void HelperThreads::wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return running_ == 0; });
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

bool HelperThreads::waitFor(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return done_.wait_for(lock, limit, [this] { return running_ == 0; });
}

HelperThreads::~HelperThreads() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return running_ == 0; });
}

}  // namespace vx
