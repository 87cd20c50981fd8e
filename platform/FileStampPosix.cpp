#include "platform/FileStamp.h"

#include <cerrno>

#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/FileIdentityOfStat.h"

namespace platform {

bool stampOfOpenFile(int fd, FileStamp& stamp) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw failureFromErrno(errno);
    }
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                       static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.identity = fs::identityFrom(info);
    stamp.links = static_cast<std::uint32_t>(info.st_nlink);
    return S_ISREG(info.st_mode);
}

} // namespace platform
