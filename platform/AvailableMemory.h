#pragma once

#include <cstdint>

namespace platform {

// About how many bytes of memory this process can still take without making the system, or
// its own limits, refuse it: the least of the memory the system has available, the room left
// under the process's address-space limit and, on Linux, under its control group's memory
// limit. UINT64_MAX when the system tells none of them. A few system calls: for decisions
// made once per run or per large step, never per font.
std::uint64_t availableMemoryBytes() noexcept;

} // namespace platform
