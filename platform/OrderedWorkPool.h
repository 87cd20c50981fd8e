#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

// How many threads work on a run at the most, and when a piece of work counts as waiting for
// the device rather than computing: lookups of fonts in the page cache take a few
// microseconds, one whose file must come from a disk takes tens to thousands. The machine
// bounds the threads further (machineThreadLimit).
struct ParallelLimits {
    std::size_t maxThreads = 32;
    std::chrono::microseconds slowWork{60};
};

// The most threads a run may use on a machine with these processors and this much memory
// available: four per processor and at least eight, enough to keep a disk's queue full (on a
// cold cache eight threads on two processors read as fast as thirty-two), and no more than
// the memory allows at kMemoryPerThread each; at least one.
std::size_t machineThreadLimit(std::size_t processors, std::uint64_t availableBytes) noexcept;

// What one thread of a run may hold at once, generously: its stack, its allocator's arena and
// one lookup, which unwraps at most a 1 MiB `name` table (a few copies of it) or holds a
// brotli decoder's window of up to 16 MiB.
inline constexpr std::uint64_t kMemoryPerThread = std::uint64_t{96} << 20;

// Runs work(i) for every i in [0, count) on helper threads and on the thread that waits for
// the results; that thread waits for them one by one, in the order of i. Ending the pool
// stops new claims and joins the helpers, so whatever work uses may go after it.
//
// It starts with one thread per processor (at most four). Work that waits for the device
// (twice in a row on one thread slower than limits.slowWork) starts another helper, up to
// limits.maxThreads and the machine's limit in all: on a cold cache, a slow disk or a network
// share many reads are then in flight at once, while on a warm cache the run keeps to the
// processors it has. Slow work that is slow because it computes or takes memory cannot bring
// in more threads than the machine bears. Without helpers (a thread that cannot be started)
// the waiting thread does everything, in order.
class OrderedWorkPool {
public:
    // work must be safe to run on several threads at once and must not throw.
    OrderedWorkPool(std::size_t count, std::function<void(std::size_t)> work,
                    ParallelLimits limits = {});
    ~OrderedWorkPool();

    OrderedWorkPool(const OrderedWorkPool&) = delete;
    OrderedWorkPool& operator=(const OrderedWorkPool&) = delete;

    // Returns once work(index) has finished, doing unclaimed work on this thread meanwhile.
    // One thread waits, for 0, 1, 2... in turn.
    void waitForNextInOrder(std::size_t index);

    // The most threads (the waiting one included) this pool may use.
    std::size_t threadLimit() const noexcept { return threadLimit_; }

private:
    std::optional<std::size_t> claim();
    void runClaimed(std::size_t index, bool& lastWasSlow);
    void finish(std::size_t index);
    void addHelper();
    void helperLoop();
    void stop() noexcept;

    static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);

    std::size_t count_;
    std::function<void(std::size_t)> work_;
    ParallelLimits limits_;
    std::size_t threadLimit_ = 1;
    std::vector<std::atomic<bool>> finished_;
    std::atomic<std::size_t> next_{0}; // the next index to claim
    bool waiterLastWasSlow_ = false;

    // The waiting thread sleeps on a condition variable, not on the atomic flag: the library's
    // atomic wait can miss a wake-up where it has no futex to build on (Windows). A helper
    // takes the lock to wake it only when it waits for the very index the helper finished.
    std::mutex waitMutex_;
    std::condition_variable waitCondition_;
    std::atomic<std::size_t> waitingFor_{kNobody};

    std::mutex helpersMutex_;
    bool closed_ = false; // no more helpers (guarded by helpersMutex_)
    std::vector<std::jthread> helpers_;
};

// Computes work(i) for every i in [0, count) side by side and hands each result to
// take(i, result) on this thread, in the order of i; take may therefore talk to the user.
// Something work throws reaches take's caller at that i; whatever leaves (that, or a failure
// of take) stops the helpers, and they are joined before this returns.
template <typename Result, typename Work, typename Take>
void inOrderParallel(std::size_t count, Work&& work, Take&& take, ParallelLimits limits = {}) {
    struct Outcome {
        std::optional<Result> value;
        std::exception_ptr error;
    };
    std::vector<Outcome> outcomes(count);
    // Declared after the outcomes the helpers fill, so that it joins them first.
    OrderedWorkPool pool(
        count,
        [&outcomes, &work](std::size_t i) {
            try {
                outcomes[i].value.emplace(work(i));
            } catch (...) {
                outcomes[i].error = std::current_exception();
            }
        },
        limits);
    for (std::size_t i = 0; i < count; ++i) {
        pool.waitForNextInOrder(i);
        Outcome& outcome = outcomes[i];
        if (outcome.error) {
            std::rethrow_exception(outcome.error);
        }
        take(i, std::move(*outcome.value));
        outcome.value.reset();
    }
}

} // namespace platform
