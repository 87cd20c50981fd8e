#include "runtime/TemporaryFile.h"

#include <atomic>
#include <cerrno>

#include "runtime/Failure.h"
#include "runtime/TemporaryFileCleanup.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "runtime/NativePath.h"
#include "runtime/WindowsApi.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace runtime {

namespace {

// Tells the files of one process apart; the process id tells processes apart.
std::atomic<unsigned> counter{0};

#ifdef _WIN32

long processId() {
    return static_cast<long>(::GetCurrentProcessId());
}

// Creates a file that must not exist yet; -1 with errno set when that fails.
int createNew(const std::string& utf8Path) {
    int fd = -1;
    const errno_t error = _wsopen_s(&fd, path::native(utf8Path).c_str(),
                                    _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                    _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return fd;
}

int syncFile(int fd) {
    return _commit(fd) == 0 ? 0 : errno;
}

int closeFile(int fd) {
    return _close(fd) == 0 ? 0 : errno;
}

void removeFile(const std::string& utf8Path) {
    ::DeleteFileW(path::native(utf8Path).c_str());
}

void rename(const std::string& from, const std::string& to) {
    if (::MoveFileExW(path::native(from).c_str(), path::native(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return;
    }
    switch (::GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: throw Failure(FailureNumber::PermissionDenied);
    case ERROR_PATH_NOT_FOUND: throw Failure(FailureNumber::PathNotFound);
    case ERROR_DISK_FULL: throw Failure(FailureNumber::DiskFull);
    default: throw Failure(FailureNumber::PathFileAccess);
    }
}

#else

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

int closeFile(int fd) {
    // After EINTR the descriptor is gone on Linux; there is nothing to retry.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

void rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        throw failureFromErrno(errno);
    }
}

#endif

} // namespace

std::string directoryPartOf(const std::string& path) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("\\/:");
#else
    const std::size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

TemporaryFile::TemporaryFile(const std::string& target) {
    const std::string prefix =
        directoryPartOf(target) + ".quillvane-" + std::to_string(processId()) + "-";
    for (int attempt = 0;; ++attempt) {
        std::string candidate = prefix + std::to_string(counter++) + ".tmp";
        // Entered before it exists, so that no moment passes in which a signal would leave it.
        slot_ = enterTemporaryFile(candidate);
        fd_ = createNew(candidate);
        if (fd_ >= 0) {
            path_ = std::move(candidate);
            return;
        }
        const int error = errno;
        leaveTemporaryFile(slot_);
        slot_ = -1;
        if (error != EEXIST || attempt >= 1000) {
            // Creating a file: a missing name can only be a missing directory.
            throw error == ENOENT ? Failure(FailureNumber::PathNotFound, error)
                                  : failureFromErrno(error);
        }
    }
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) {
        closeFile(fd_);
    }
    if (!path_.empty()) {
        removeFile(path_);
    }
    leaveTemporaryFile(slot_);
}

bool TemporaryFile::keepModeOf(const std::string& replaced) {
#ifdef _WIN32
    (void)replaced;
    return false;
#else
    struct stat earlier {};
    if (::lstat(replaced.c_str(), &earlier) != 0 || !S_ISREG(earlier.st_mode)) {
        return false;
    }
    setModeAndGroup(earlier.st_mode & 07777, earlier.st_gid);
    return true;
#endif
}

void TemporaryFile::setModeAndGroup(unsigned mode, unsigned long group) {
#ifndef _WIN32
    // The group where this process may give it (an owner may choose among its own groups);
    // the owner stays this process's user, as it must for a file it writes.
    if (static_cast<gid_t>(group) != ::getegid()) {
        if (::fchown(fd_, static_cast<uid_t>(-1), static_cast<gid_t>(group)) != 0) {
            // Not one of this user's groups: the copy keeps the user's own.
        }
    }
#else
    (void)group;
#endif
    setMode(mode);
}

void TemporaryFile::setMode(unsigned mode) {
#ifdef _WIN32
    (void)mode;
#else
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) {
        throw failureFromErrno(errno);
    }
#endif
}

void TemporaryFile::close(bool durable) {
    if (fd_ < 0) {
        return;
    }
    int error = durable ? syncFile(fd_) : 0;
    const int closeError = closeFile(fd_);
    fd_ = -1;
    if (error == 0) {
        error = closeError;
    }
    if (error != 0) {
        throw failureFromErrno(error);
    }
}

void TemporaryFile::putInPlace(const std::string& target, bool durable) {
    close(durable);
    rename(path_, target);
    path_.clear();
    leaveTemporaryFile(slot_);
    slot_ = -1;
    if (durable) {
        syncDirectory(directoryPartOf(target));
    }
}

void TemporaryFile::abandon() noexcept {
    if (fd_ >= 0) {
        closeFile(fd_);
        fd_ = -1;
    }
    path_.clear();
    leaveTemporaryFile(slot_);
    slot_ = -1;
}

void syncDirectory(const std::string& directory) {
#ifdef _WIN32
    (void)directory;
#else
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw failureFromErrno(errno);
    }
    const int error = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
    ::close(fd);
    if (error != 0) {
        throw failureFromErrno(error);
    }
#endif
}

} // namespace runtime
