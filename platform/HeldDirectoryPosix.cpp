#include "platform/HeldDirectory.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Failure.h"
#include "platform/FileIdentityOfStat.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"

namespace platform::fs {

HeldDirectory::HeldDirectory(const std::string& path)
    : fd_(::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_.valid()) {
        throw errno == ENOENT ? Failure(FailureNumber::PathNotFound, errno)
                              : failureFromErrno(errno);
    }
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) {
        throw failureFromErrno(errno);
    }
    identity_ = identityFrom(info);
    path_ = path::withTrailingSeparator(realPath(path.empty() ? "." : path));
}

bool HeldDirectory::stillAtItsPath() const {
    const std::optional<FileIdentity> there = identityOf(path_);
    return there && *there == identity_;
}

std::optional<FileIdentity> HeldDirectory::entryIdentity(std::string_view name) const {
    struct stat info {};
    if (::fstatat(fd_.get(), std::string(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return identityFrom(info);
}

void HeldDirectory::removeIf(std::string_view name, const FileIdentity& identity) const noexcept {
    try {
        if (entryIdentity(name) == identity) {
            ::unlinkat(fd_.get(), std::string(name).c_str(), 0);
        }
    } catch (...) {
        // Out of memory for the name: the file stays.
    }
}

void HeldDirectory::sync() const {
#ifdef __linux__
    if (::syncfs(fd_.get()) != 0) {
        throw failureFromErrno(errno);
    }
#else
    ::sync();
#endif
    if (::fsync(fd_.get()) != 0 && errno != EINVAL && errno != EROFS) {
        throw failureFromErrno(errno);
    }
}

} // namespace platform::fs
