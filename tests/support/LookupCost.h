#pragma once

#include <chrono>
#include <cstdint>
#include <utility>

#ifndef _WIN32
#include <sys/resource.h>
#endif

// What an action costs: its wall time and how far it raised the process's peak of resident
// memory, for tests that a hostile file is refused cheaply. The peak only grows, so the
// growth is that of this action where the process had not peaked higher before (ctest runs
// each test in a process of its own). Windows reports no growth.
namespace testsupport {

struct LookupCost {
    double seconds = 0;
    std::int64_t peakGrowthBytes = 0;
};

inline std::int64_t peakResidentBytes() {
#ifdef _WIN32
    return 0;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return std::int64_t{usage.ru_maxrss} * 1024; // kilobytes on Linux
#endif
}

template <typename Action>
LookupCost costOf(Action&& action) {
    const std::int64_t peakBefore = peakResidentBytes();
    const auto start = std::chrono::steady_clock::now();
    std::forward<Action>(action)();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {took.count(), peakResidentBytes() - peakBefore};
}

} // namespace testsupport
