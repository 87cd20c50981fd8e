#include "runtime/TemporaryFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Failure.h"
#include "runtime/TemporaryFileCalls.h"

namespace runtime {

namespace temporary_file {

long processId() {
    return static_cast<long>(::getpid());
}

int createNew(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int syncFile(int fd) {
    // The bytes and the size; the times can be lost without harm.
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

void removeFile(const std::string& path) noexcept {
    ::unlink(path.c_str());
}

void rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        throw failureFromErrno(errno);
    }
}

} // namespace temporary_file

std::string directoryPartOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool TemporaryFile::keepModeOf(const std::string& replaced) {
    struct stat earlier {};
    if (::lstat(replaced.c_str(), &earlier) != 0 || !S_ISREG(earlier.st_mode)) {
        return false;
    }
    setModeAndGroup(earlier.st_mode & 07777, earlier.st_gid);
    return true;
}

void TemporaryFile::setModeAndGroup(unsigned mode, unsigned long group) {
    // The group where this process may give it (an owner may choose among its own groups);
    // the owner stays this process's user, as it must for a file it writes.
    if (static_cast<gid_t>(group) != ::getegid()) {
        if (::fchown(fd_.get(), static_cast<uid_t>(-1), static_cast<gid_t>(group)) != 0) {
            // Not one of this user's groups: the copy keeps the user's own.
        }
    }
    setMode(mode);
}

void TemporaryFile::setMode(unsigned mode) {
    if (::fchmod(fd_.get(), static_cast<mode_t>(mode)) != 0) {
        throw failureFromErrno(errno);
    }
}

void syncDirectory(const std::string& directory) {
    const UniqueFd folder(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        throw failureFromErrno(errno);
    }
    if (::fsync(folder.get()) != 0 && errno != EINVAL && errno != EROFS) {
        throw failureFromErrno(errno);
    }
}

} // namespace runtime
