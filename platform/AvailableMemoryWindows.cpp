#include "platform/AvailableMemory.h"

#include "platform/WindowsApi.h"

#include <algorithm>
#include <limits>

namespace platform {

// The physical memory available and what is left of the process's address space; a job
// object's limit is not looked at.
std::uint64_t availableMemoryBytes() noexcept {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return std::min<std::uint64_t>(status.ullAvailPhys, status.ullAvailVirtual);
}

} // namespace platform
