#include "platform/OrderedWorkPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// The results reach take on the calling thread in the order of the indices, whatever order
// the helpers finish them in (later indices are made quicker than earlier ones).
TEST(OrderedWorkPool, HandsEveryResultToTheCallerInOrder) {
    for (const std::size_t count :
         {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1000}}) {
        const std::thread::id caller = std::this_thread::get_id();
        std::vector<std::size_t> taken;
        bool allOnCaller = true;
        platform::inOrderParallel<std::string>(
            count,
            [&](std::size_t i) {
                if (i < 4 && count > 4) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                return std::to_string(i * 7);
            },
            [&](std::size_t i, std::string&& result) {
                allOnCaller = allOnCaller && std::this_thread::get_id() == caller;
                EXPECT_EQ(result, std::to_string(i * 7));
                taken.push_back(i);
            });
        ASSERT_EQ(taken.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(taken[i], i);
        }
        EXPECT_TRUE(allOnCaller);
    }
}

// A failing item reaches the caller where its result would have: everything before it has been
// taken, nothing after it, and the helpers are stopped and joined before the call returns.
TEST(OrderedWorkPool, AFailureReachesTheCallerAtItsPlaceAndStopsTheHelpers) {
    constexpr std::size_t count = 5000;
    constexpr std::size_t failing = 1234;
    std::atomic<std::size_t> started{0};
    std::vector<std::size_t> taken;
    EXPECT_THROW(platform::inOrderParallel<int>(
                     count,
                     [&](std::size_t i) {
                         ++started;
                         if (i == failing) {
                             throw std::runtime_error("this one fails");
                         }
                         return static_cast<int>(i);
                     },
                     [&](std::size_t i, int&&) { taken.push_back(i); }),
                 std::runtime_error);
    ASSERT_EQ(taken.size(), failing);
    EXPECT_EQ(taken.back(), failing - 1);
    // Joined: no helper is still counting.
    const std::size_t afterReturn = started.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(started.load(), afterReturn);
}

// A failure of take itself leaves by the same way, with the helpers joined.
TEST(OrderedWorkPool, AFailureOfTheTakerEndsTheRun) {
    std::size_t taken = 0;
    EXPECT_THROW(platform::inOrderParallel<int>(
                     100, [](std::size_t i) { return static_cast<int>(i); },
                     [&](std::size_t i, int&&) {
                         if (i == 10) {
                             throw std::logic_error("stop");
                         }
                         ++taken;
                     }),
                 std::logic_error);
    EXPECT_EQ(taken, 10u);
}

// Work that waits (as a lookup waits for a cold disk) brings in more threads than there are
// processors, up to the limit, so that many waits overlap; the results still arrive in order.
// A failure while helpers are being added still joins every one of them.
TEST(OrderedWorkPool, WaitingWorkBringsInMoreThreadsUpToTheLimit) {
    for (const bool failing : {false, true}) {
        SCOPED_TRACE(failing);
        std::mutex mutex;
        std::set<std::thread::id> threads;
        std::atomic<std::size_t> started{0};
        std::size_t taken = 0;
        const auto run = [&] {
            platform::inOrderParallel<std::size_t>(
                200,
                [&](std::size_t i) {
                    ++started;
                    {
                        const std::scoped_lock lock(mutex);
                        threads.insert(std::this_thread::get_id());
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    if (failing && i == 150) {
                        throw std::runtime_error("this one fails");
                    }
                    return i;
                },
                [&](std::size_t i, std::size_t&& result) {
                    EXPECT_EQ(result, i);
                    EXPECT_EQ(i, taken++);
                },
                platform::ParallelLimits{8, std::chrono::microseconds(500)});
        };
        if (failing) {
            EXPECT_THROW(run(), std::runtime_error);
        } else {
            run();
        }
        EXPECT_EQ(taken, failing ? 150u : 200u);
        EXPECT_GT(threads.size(), 4u); // more than the processors the run starts with
        EXPECT_LE(threads.size(), 8u);
        const std::size_t afterReturn = started.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(started.load(), afterReturn);
    }
}

// Work that is slow because it computes or holds memory (as a lookup inflating a bomb) looks
// to the pool like work that waits for a disk: it may bring in threads for the disk's sake, but
// never more than the machine's processors and memory bear, whatever limit the run asks for.
TEST(OrderedWorkPool, SlowWorkBringsInNoMoreThreadsThanTheMachineBears) {
    EXPECT_EQ(platform::machineThreadLimit(2, std::uint64_t{64} << 30), 8u);
    EXPECT_EQ(platform::machineThreadLimit(16, std::uint64_t{64} << 30), 64u);
    EXPECT_EQ(platform::machineThreadLimit(2, 3 * platform::kMemoryPerThread), 3u);
    EXPECT_EQ(platform::machineThreadLimit(2, 0), 1u);

    std::mutex mutex;
    std::set<std::thread::id> threads;
    platform::inOrderParallel<std::size_t>(
        65,
        [&](std::size_t i) {
            {
                const std::scoped_lock lock(mutex);
                threads.insert(std::this_thread::get_id());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return i;
        },
        [&](std::size_t, std::size_t&&) {},
        platform::ParallelLimits{1000, std::chrono::microseconds(60)});
    const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
    EXPECT_LE(threads.size(), std::max<std::size_t>(8, 4 * processors));
}

} // namespace
