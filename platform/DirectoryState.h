#pragma once

#include <cstdint>
#include <optional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace platform {

// A directory as a read of it found it: which directory it is, and the times that change
// whenever an entry is made, removed or renamed in it. Two reads that find the same state
// found the same entries.
struct DirectoryState {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const DirectoryState&) const = default;
};

#ifndef _WIN32
// The state of a directory held open; none when the system cannot tell it.
inline std::optional<DirectoryState> directoryStateOf(int directoryFd) noexcept {
    struct stat info {};
    if (::fstat(directoryFd, &info) != 0) {
        return std::nullopt;
    }
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return DirectoryState{.device = static_cast<std::uint64_t>(info.st_dev),
                          .inode = static_cast<std::uint64_t>(info.st_ino),
                          .modifiedNs = nanoseconds(info.st_mtim),
                          .changedNs = nanoseconds(info.st_ctim)};
}
#endif

} // namespace platform
