#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace fontlist {

// How many threads work on a run at the most, and when a piece of work counts as waiting for
// the device rather than computing: lookups of fonts in the page cache take a few
// microseconds, one whose file must come from a disk takes tens to thousands.
struct ParallelLimits {
    std::size_t maxThreads = 32;
    std::chrono::microseconds slowWork{60};
};

// Computes work(i) for every i in [0, count) on this thread and on helper threads, and hands
// each result to take(i, result) on this thread, in the order of i. work must be safe to run
// on several threads at once; take runs only here, so it may talk to the user. Something work
// throws reaches take's caller at that i; the helpers then stop taking new work and are joined
// before this returns. Without helpers (a thread that cannot be started) everything runs here,
// in order.
//
// It starts with one thread per processor (at most four). Work that waits for the device
// (twice in a row on one thread slower than limits.slowWork) starts another helper, up to
// limits.maxThreads in all: on a cold cache, a slow disk or a network share many reads are
// then in flight at once, whatever the number of processors, while on a warm cache the run
// keeps to the processors it has.
template <typename Result, typename Work, typename Take>
void inOrderParallel(std::size_t count, Work&& work, Take&& take, ParallelLimits limits = {}) {
    struct Slot {
        std::optional<Result> value;
        std::exception_ptr error;
        std::atomic<bool> ready{false};
    };
    std::vector<Slot> slots(count);
    std::atomic<std::size_t> next{0};
    // The caller sleeps on a condition variable, not on the atomic flag: the library's atomic
    // wait can miss a wake-up where it has no futex to build on (Windows). A helper takes the
    // lock to wake the caller only when the caller waits for the very slot it filled.
    constexpr std::size_t kNobody = static_cast<std::size_t>(-1);
    std::mutex waitMutex;
    std::condition_variable waitCondition;
    std::atomic<std::size_t> waitingFor{kNobody};

    // The helpers use everything declared here; the guard below, declared last and so ended
    // first, stops new claims and new helpers and joins the helpers before any of it goes.
    std::mutex helpersMutex;
    bool closed = false; // no more helpers (guarded by helpersMutex)
    std::vector<std::jthread> helpers;
    std::function<void()> helperLoop;

    const auto addHelper = [&] {
        const std::scoped_lock lock(helpersMutex);
        if (closed || helpers.size() + 1 >= limits.maxThreads ||
            next.load(std::memory_order_relaxed) >= count) {
            return;
        }
        try {
            helpers.emplace_back(helperLoop);
        } catch (const std::system_error&) {
            closed = true; // no more threads: the ones there are do the work
        }
    };
    const auto runOne = [&](std::size_t j, bool& lastWasSlow) {
        Slot& slot = slots[j];
        const auto started = std::chrono::steady_clock::now();
        try {
            slot.value.emplace(work(j));
        } catch (...) {
            slot.error = std::current_exception();
        }
        slot.ready.store(true); // sequentially consistent with waitingFor, as below
        if (waitingFor.load() == j) {
            const std::scoped_lock lock(waitMutex);
            waitCondition.notify_all();
        }
        const bool slow = std::chrono::steady_clock::now() - started > limits.slowWork;
        if (slow && lastWasSlow) {
            addHelper();
        }
        lastWasSlow = slow;
    };
    helperLoop = [&] {
        bool lastWasSlow = false;
        for (std::size_t j = next.fetch_add(1); j < count; j = next.fetch_add(1)) {
            runOne(j, lastWasSlow);
        }
    };

    struct Finish {
        std::atomic<std::size_t>& next;
        std::size_t count;
        std::mutex& mutex;
        bool& closed;
        std::vector<std::jthread>& helpers;
        ~Finish() {
            next.store(count);
            {
                const std::scoped_lock lock(mutex);
                closed = true;
            }
            for (std::jthread& helper : helpers) {
                helper.join();
            }
        }
    } finish{next, count, helpersMutex, closed, helpers};

    const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t startingHelpers = std::min<std::size_t>(
        {processors - 1, 3, limits.maxThreads > 0 ? limits.maxThreads - 1 : 0});
    for (std::size_t h = 0; h < startingHelpers; ++h) {
        addHelper();
    }

    bool lastWasSlow = false;
    for (std::size_t i = 0; i < count; ++i) {
        Slot& slot = slots[i];
        while (!slot.ready.load(std::memory_order_acquire)) {
            const std::size_t j = next.fetch_add(1);
            if (j < count) {
                runOne(j, lastWasSlow);
            } else {
                // Either the helper that fills the slot sees waitingFor and wakes this thread,
                // or this thread sees the slot ready before it sleeps.
                std::unique_lock lock(waitMutex);
                waitingFor.store(i);
                waitCondition.wait(lock, [&slot] { return slot.ready.load(); });
                waitingFor.store(kNobody);
            }
        }
        if (slot.error) {
            std::rethrow_exception(slot.error);
        }
        take(i, std::move(*slot.value));
        slot.value.reset();
    }
}

} // namespace fontlist
