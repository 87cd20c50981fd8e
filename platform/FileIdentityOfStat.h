#pragma once

#include <cstdint>

#include <sys/stat.h>

#include "platform/FileIdentity.h"

namespace platform::fs {

// The identity of what a stat call described (POSIX systems only).
inline FileIdentity identityFrom(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

} // namespace platform::fs
