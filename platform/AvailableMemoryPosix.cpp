#include "platform/AvailableMemory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace platform {

namespace {

constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();

// The first number that follows label in a text file of "label value" lines, times scale.
std::uint64_t numberAfter(const char* path, const std::string& label, std::uint64_t scale) {
    std::ifstream in(path);
    std::string word;
    while (in >> word) {
        if (word == label) {
            std::uint64_t value = 0;
            return in >> value ? value * scale : kUnknown;
        }
    }
    return kUnknown;
}

// The memory the system could give without swapping: MemAvailable on Linux, otherwise the
// free pages.
std::uint64_t systemAvailable() {
    const std::uint64_t available = numberAfter("/proc/meminfo", "MemAvailable:", 1024);
    if (available != kUnknown) {
        return available;
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::uint64_t(pages) * std::uint64_t(pageSize) : kUnknown;
}

// What the address-space limit (ulimit -v) leaves beside what the process has mapped.
std::uint64_t addressSpaceLeft() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kUnknown;
    }
    std::uint64_t mappedPages = 0;
    std::ifstream("/proc/self/statm") >> mappedPages;
    const std::uint64_t mapped = mappedPages * std::uint64_t(std::max(sysconf(_SC_PAGESIZE), 1L));
    return limit.rlim_cur > mapped ? limit.rlim_cur - mapped : 0;
}

// What the memory limits of a control group and of the groups above it leave: maxFile and
// currentFile name the limit and the use in each group's directory under root.
std::uint64_t groupsLeft(const std::string& root, std::string group, const char* maxFile,
                         const char* currentFile) {
    std::uint64_t left = kUnknown;
    for (; !group.empty() && group != "/";
         group.erase(group.rfind('/') == 0 ? 1 : group.rfind('/'))) {
        std::uint64_t max = 0;
        std::uint64_t current = 0;
        // "max" reads as no number: that group sets no limit.
        if ((std::ifstream(root + group + "/" + maxFile) >> max) &&
            (std::ifstream(root + group + "/" + currentFile) >> current)) {
            left = std::min(left, max > current ? max - current : 0);
        }
    }
    return left;
}

// What the memory limits of the process's control group leave (version 2, or version 1's
// memory controller).
std::uint64_t controlGroupLeft() {
    std::ifstream groups("/proc/self/cgroup");
    std::string line;
    std::uint64_t left = kUnknown;
    while (std::getline(groups, line)) {
        if (line.rfind("0::", 0) == 0) {
            left = std::min(
                left, groupsLeft("/sys/fs/cgroup", line.substr(3), "memory.max", "memory.current"));
        } else if (const std::size_t at = line.find(":memory:"); at != std::string::npos) {
            left = std::min(left, groupsLeft("/sys/fs/cgroup/memory", line.substr(at + 8),
                                             "memory.limit_in_bytes", "memory.usage_in_bytes"));
        }
    }
    return left;
}

} // namespace

std::uint64_t availableMemoryBytes() noexcept {
    try {
        return std::min({systemAvailable(), addressSpaceLeft(), controlGroupLeft()});
    } catch (...) {
        return kUnknown;
    }
}

} // namespace platform
