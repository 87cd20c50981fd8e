#include "platform/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Failure.h"
#include "platform/TemporaryFileCalls.h"

namespace platform {

namespace temporary_file {

long processId() {
    return static_cast<long>(::getpid());
}

namespace {

// The descriptor names are relative to: the held directory, or the current one for paths.
int directoryOf(const fs::HeldDirectory* directory) {
    return directory != nullptr ? directory->descriptor() : AT_FDCWD;
}

} // namespace

int createNew(const fs::HeldDirectory* directory, const std::string& name) {
    int fd = -1;
    do {
        fd = ::openat(directoryOf(directory), name.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int syncFile(int fd) {
    // The bytes and the size; the times can be lost without harm.
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

void removeFile(const fs::HeldDirectory* directory, const std::string& name) noexcept {
    ::unlinkat(directoryOf(directory), name.c_str(), 0);
}

void rename(const fs::HeldDirectory* directory, const std::string& from, const std::string& to) {
    const int folder = directoryOf(directory);
    if (::renameat(folder, from.c_str(), folder, to.c_str()) != 0) {
        throw failureFromErrno(errno);
    }
}

void syncHeldDirectory(const fs::HeldDirectory& directory) {
    if (::fsync(directory.descriptor()) != 0 && errno != EINVAL && errno != EROFS) {
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
    setModeAndGroup(earlier.st_mode, earlier.st_gid);
    return true;
}

namespace {

// Whether the running user belongs to the group: its effective group or one of its
// supplementary ones. Asked of the user, not of fchown, which lets root give any group.
bool userBelongsTo(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 &&
           std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

} // namespace

void TemporaryFile::setModeAndGroup(unsigned mode, unsigned long group) {
    // The owner stays this process's user, as it must for a file it writes; the group only
    // where the user belongs to it. Otherwise the file keeps the group it was made with.
    const auto wanted = static_cast<gid_t>(group);
    if (userBelongsTo(wanted)) {
        if (::fchown(fd_.get(), static_cast<uid_t>(-1), wanted) != 0) {
            // The file system does not keep groups: the copy keeps the user's own.
        }
    }
    setMode(mode & 0777);
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

} // namespace platform
