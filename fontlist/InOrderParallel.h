#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace fontlist {

// Computes work(i) for every i in [0, count) on this thread and on helper threads (one fewer
// than the processors, at most three), and hands each result to take(i, result) on this thread,
// in the order of i. work must be safe to run on several threads at once; take runs only here,
// so it may talk to the user. Something work throws reaches take's caller at that i; the
// helpers then stop taking new work and are joined before this returns. Without helpers (one
// processor, or a thread that cannot be started) everything runs here, in order.
template <typename Result, typename Work, typename Take>
void inOrderParallel(std::size_t count, Work&& work, Take&& take) {
    struct Slot {
        std::optional<Result> value;
        std::exception_ptr error;
        std::atomic<bool> ready{false};
    };
    std::vector<Slot> slots(count);
    std::atomic<std::size_t> next{0};

    const auto runOne = [&](std::size_t j) {
        Slot& slot = slots[j];
        try {
            slot.value.emplace(work(j));
        } catch (...) {
            slot.error = std::current_exception();
        }
        slot.ready.store(true, std::memory_order_release);
        slot.ready.notify_all();
    };
    const auto helperLoop = [&] {
        for (std::size_t j = next.fetch_add(1); j < count; j = next.fetch_add(1)) {
            runOne(j);
        }
    };

    // Declared after the slots and before the guard: on the way out the guard stops new claims
    // first, then the helpers are joined, and only then do the slots go.
    std::vector<std::jthread> helpers;
    struct StopClaims {
        std::atomic<std::size_t>& next;
        std::size_t count;
        ~StopClaims() { next.store(count); }
    } stopClaims{next, count};

    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helperCount =
        std::min<std::size_t>({processors - 1, 3, count > 1 ? count - 1 : 0});
    for (std::size_t h = 0; h < helperCount; ++h) {
        try {
            helpers.emplace_back(helperLoop);
        } catch (const std::system_error&) {
            break; // no more threads: the ones there are (or this one alone) do the work
        }
    }

    for (std::size_t i = 0; i < count; ++i) {
        Slot& slot = slots[i];
        while (!slot.ready.load(std::memory_order_acquire)) {
            const std::size_t j = next.fetch_add(1);
            if (j < count) {
                runOne(j);
            } else {
                slot.ready.wait(false, std::memory_order_acquire);
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
