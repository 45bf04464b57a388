// The plot threads: every copy of a task runs at the same time as the
// others, also while another caller's copies are running, and a copy's
// exception reaches the caller.
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "plot/thread_pool.h"

namespace vx::testing {
namespace {

// Copies that return only once all `count` of them have started: a pool
// that queued some behind others would never finish.
void meetAll(int count) {
    std::atomic<int> arrived{0}, met{0};
    HelperThreads helpers(count, [&] {
        arrived.fetch_add(1);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (arrived.load() < count && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
        if (arrived.load() == count) met.fetch_add(1);
    });
    EXPECT_EQ(helpers.count(), count);
    helpers.wait();
    EXPECT_EQ(met.load(), count);
}

TEST(HelperThreads, CopiesRunTogetherAlsoBesideOtherCallers) {
    for (int count : {1, 3, 8}) {
        meetAll(count);
        std::thread other([count] { meetAll(count + 1); });
        meetAll(count);
        other.join();
    }
}

TEST(HelperThreads, ACopysExceptionReachesTheCaller) {
    std::atomic<int> finished{0};
    HelperThreads helpers(4, [&] {
        if (finished.fetch_add(1) == 2) throw std::runtime_error("third");
    });
    EXPECT_THROW(helpers.wait(), std::runtime_error);
    EXPECT_EQ(finished.load(), 4);
    helpers.wait();  // reported once
}

}  // namespace
}  // namespace vx::testing
