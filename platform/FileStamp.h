#pragma once

#include <cstdint>

#include "platform/FileIdentity.h"

namespace platform {

// What an open file's status tells of it at one moment: enough to know that it is the same file
// with the same content later (a file whose stamp changed between two reads has changed, as
// far as anything short of reading it again can tell).
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // last modification, in nanoseconds since 1970-01-01 UTC
    fs::FileIdentity identity{};
    std::uint32_t links = 1; // names the file has (hard links)
};

// Whether now describes the file of before with the content it had: the same identity, size
// and modification time (a new link to it changes nothing).
inline bool unchangedSince(const FileStamp& before, const FileStamp& now) {
    return before.identity == now.identity && before.size == now.size &&
           before.modifiedNs == now.modifiedNs;
}

// The stamp of the open file fd, and whether it is a regular file. Raises the failure of the
// status call.
bool stampOfOpenFile(int fd, FileStamp& stamp);

} // namespace platform
