#include "platform/OrderedWorkPool.h"

#include "platform/AvailableMemory.h"

#include <algorithm>
#include <system_error>

namespace platform {

std::size_t machineThreadLimit(std::size_t processors, std::uint64_t availableBytes) noexcept {
    const std::size_t forTheDevice = std::max<std::size_t>(8, 4 * processors);
    const std::uint64_t forTheMemory = availableBytes / kMemoryPerThread;
    return static_cast<std::size_t>(
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(forTheDevice, forTheMemory)));
}

OrderedWorkPool::OrderedWorkPool(std::size_t count, std::function<void(std::size_t)> work,
                                 ParallelLimits limits)
    : count_(count), work_(std::move(work)), limits_(limits), finished_(count) {
    const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
    // Only a run that may need more threads than it starts with asks about the memory.
    const std::size_t starting =
        std::max<std::size_t>(1, std::min<std::size_t>({processors, 4, limits_.maxThreads}));
    threadLimit_ = std::max<std::size_t>(
        1,
        limits_.maxThreads <= starting
            ? limits_.maxThreads
            : std::min(limits_.maxThreads, machineThreadLimit(processors, availableMemoryBytes())));
    const std::size_t startingHelpers = std::min(starting, threadLimit_) - 1;
    try {
        for (std::size_t h = 0; h < startingHelpers; ++h) {
            addHelper();
        }
    } catch (...) {
        stop();
        throw;
    }
}

OrderedWorkPool::~OrderedWorkPool() {
    stop();
}

void OrderedWorkPool::waitForNextInOrder(std::size_t index) {
    const std::atomic<bool>& finished = finished_[index];
    while (!finished.load(std::memory_order_acquire)) {
        if (const std::optional<std::size_t> claimed = claim()) {
            runClaimed(*claimed, waiterLastWasSlow_);
        } else {
            // Either the helper that finishes it sees waitingFor_ and wakes this thread, or
            // this thread sees it finished before it sleeps.
            std::unique_lock lock(waitMutex_);
            waitingFor_.store(index);
            waitCondition_.wait(lock, [&finished] { return finished.load(); });
            waitingFor_.store(kNobody);
        }
    }
}

std::optional<std::size_t> OrderedWorkPool::claim() {
    const std::size_t index = next_.fetch_add(1);
    if (index >= count_) {
        return std::nullopt;
    }
    return index;
}

void OrderedWorkPool::runClaimed(std::size_t index, bool& lastWasSlow) {
    const auto started = std::chrono::steady_clock::now();
    work_(index);
    finish(index);
    const bool slow = std::chrono::steady_clock::now() - started > limits_.slowWork;
    if (slow && lastWasSlow) {
        addHelper();
    }
    lastWasSlow = slow;
}

void OrderedWorkPool::finish(std::size_t index) {
    finished_[index].store(true); // sequentially consistent with waitingFor_, as it is read
    if (waitingFor_.load() == index) {
        const std::scoped_lock lock(waitMutex_);
        waitCondition_.notify_all();
    }
}

void OrderedWorkPool::addHelper() {
    const std::scoped_lock lock(helpersMutex_);
    if (closed_ || helpers_.size() + 1 >= threadLimit_ ||
        next_.load(std::memory_order_relaxed) >= count_) {
        return;
    }
    try {
        helpers_.emplace_back([this] { helperLoop(); });
    } catch (const std::system_error&) {
        closed_ = true; // no more threads: the ones there are do the work
    }
}

void OrderedWorkPool::helperLoop() {
    bool lastWasSlow = false;
    while (const std::optional<std::size_t> claimed = claim()) {
        runClaimed(*claimed, lastWasSlow);
    }
}

void OrderedWorkPool::stop() noexcept {
    next_.store(count_);
    {
        const std::scoped_lock lock(helpersMutex_);
        closed_ = true;
    }
    // No helper is added once closed_ is set, so the list no longer changes.
    for (std::jthread& helper : helpers_) {
        if (helper.joinable()) {
            helper.join();
        }
    }
}

} // namespace platform
