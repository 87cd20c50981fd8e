#include "platform/FileStamp.h"

#include <cerrno>

#include <io.h>

#include "platform/Failure.h"
#include "platform/WindowsApi.h"

namespace platform {

bool stampOfOpenFile(int fd, FileStamp& stamp) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || ::GetFileInformationByHandle(handle, &info) == 0) {
        throw failureFromErrno(EBADF);
    }
    stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    // FILETIME counts 100 ns steps since 1601; 11,644,473,600 s lie between 1601 and 1970.
    const std::uint64_t ticks = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
    stamp.modifiedNs = (static_cast<std::int64_t>(ticks) - 116'444'736'000'000'000) * 100;
    stamp.identity = fs::FileIdentity{
        info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    stamp.links = static_cast<std::uint32_t>(info.nNumberOfLinks);
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           ::GetFileType(handle) == FILE_TYPE_DISK;
}

} // namespace platform
