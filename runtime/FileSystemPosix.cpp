#include "runtime/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include "runtime/CopyFailureCauses.h"
#include "runtime/Failure.h"
#include "runtime/TemporaryFile.h"
#include "runtime/UniqueFd.h"

namespace runtime::fs {

using namespace cause;

namespace {

struct stat statOrThrow(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw failureFromErrno(errno);
    }
    return info;
}

bool isReadOnly(const struct stat& info) {
    return (info.st_mode & S_IWUSR) == 0;
}

constexpr std::size_t kCopyChunk = 1024 * 1024;

void writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw failureFromErrno(errno);
        }
        if (written == 0) {
            throw Failure(FailureNumber::DiskFull);
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}

// Copies up to `left` bytes from the current offset through a buffer; stops at the end of the
// source.
void copyThroughBuffer(int from, int to, std::uint64_t left) {
    if (left == 0) {
        return;
    }
    std::vector<char> buffer(kCopyChunk);
    while (left > 0) {
        const std::size_t want =
            left < buffer.size() ? static_cast<std::size_t>(left) : buffer.size();
        const ssize_t got = ::read(from, buffer.data(), want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw failureFromErrno(errno);
        }
        if (got == 0) {
            return;
        }
        writeAll(to, buffer.data(), static_cast<std::size_t>(got));
        left -= static_cast<std::uint64_t>(got);
    }
}

#ifdef __linux__
// Whether a failed copy_file_range only says that this pair of files cannot be copied that way
// (another file system on an older kernel, a kernel without the call, a file system or sandbox
// that does not offer it), so that the bytes are copied through a buffer instead.
bool inKernelCopyUnavailable(int error) {
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL ||
           error == EPERM;
}

// File systems whose files show sizes that say nothing of what reading them yields: a file
// there may give more than its size (forever, for some), or change while it is read.
bool sizesAreNotReal(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(info.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case EFIVARFS_MAGIC:
    case PSTOREFS_MAGIC: return true;
    default: return false;
    }
}
#endif

// Copies the source's `size` bytes (what it held when opened), from the current offsets. On
// Linux the kernel copies the bytes itself, without bringing them into this process
// (copy_file_range, as cp does); where it cannot, or where it stops early, the buffered copy
// takes over where it stopped. A source that still has bytes after `size` raises 75: its size
// was no measure of it.
void copyBytes(int from, int to, std::uint64_t size) {
    std::uint64_t left = size;
#ifdef __linux__
    constexpr std::uint64_t kRangeChunk = std::uint64_t{1} << 30;
    while (left > 0) {
        const ssize_t copied = ::copy_file_range(
            from, nullptr, to, nullptr, static_cast<std::size_t>(std::min(left, kRangeChunk)), 0);
        if (copied > 0) {
            left -= static_cast<std::uint64_t>(copied);
            continue;
        }
        if (copied < 0 && errno == EINTR) {
            continue;
        }
        if (copied < 0 && !inKernelCopyUnavailable(errno)) {
            throw failureFromErrno(errno);
        }
        break; // the end, or no copy in the kernel: the buffer reads on to make sure
    }
#endif
    copyThroughBuffer(from, to, left);
    char more = 0;
    ssize_t got = 0;
    do {
        got = ::read(from, &more, 1);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        throw Failure(FailureNumber::PathFileAccess, kYieldsMore);
    }
}

} // namespace

Attributes fileAttributes(const std::string& path) {
    const struct stat info = statOrThrow(path);
    return Attributes{S_ISDIR(info.st_mode), isReadOnly(info)};
}

std::uint64_t fileLength(const std::string& path) {
    return static_cast<std::uint64_t>(statOrThrow(path).st_size);
}

void createDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        return;
    }
    // A missing parent is a missing path, not a missing file.
    throw errno == ENOENT ? Failure(FailureNumber::PathNotFound, errno) : failureFromErrno(errno);
}

CopyResult copyFile(const std::string& source, const std::string& target,
                    const ProtectedFiles* guarded, bool durable) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer (it is refused below).
    UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (in.get() < 0) {
        throw failureFromErrno(errno);
    }
    struct stat from {};
    if (::fstat(in.get(), &from) != 0) {
        throw failureFromErrno(errno);
    }
    // Only regular files are copied: a directory, a pipe or a device is an access failure.
    if (!S_ISREG(from.st_mode)) {
        throw Failure(FailureNumber::PathFileAccess, kNotRegular);
    }
#ifdef __linux__
    if (sizesAreNotReal(in.get())) {
        throw Failure(FailureNumber::PathFileAccess, kSizeNotReal);
    }
#endif
    // The name itself is examined, not what a link there points to: a link at the target's
    // name is replaced by the copy like any file, and never written through.
    struct stat to {};
    const bool replacing = ::lstat(target.c_str(), &to) == 0;
    if (replacing) {
        if (to.st_dev == from.st_dev && to.st_ino == from.st_ino) {
            return CopyResult::SameFile;
        }
        if (guarded != nullptr && guarded->holdsEntryAt(target)) {
            return CopyResult::TargetGuarded;
        }
        // Checked here, before anything is written, because root ignores permission bits.
        if (S_ISDIR(to.st_mode)) {
            throw Failure(FailureNumber::PathFileAccess, kDirectoryTarget);
        }
        if (isReadOnly(to)) {
            throw Failure(FailureNumber::PathFileAccess, kReadOnlyTarget);
        }
    } else if (errno != ENOENT) {
        throw failureFromErrno(errno);
    }

    TemporaryFile copy(target);
    copyBytes(in.get(), copy.descriptor(), static_cast<std::uint64_t>(from.st_size));
    // The file it replaces keeps its mode and group; a new copy takes the source's mode.
    if (replacing && S_ISREG(to.st_mode)) {
        copy.setModeAndGroup(to.st_mode & 07777, to.st_gid);
    } else {
        copy.setMode(from.st_mode & 0777);
    }
    copy.close(durable);
    // Again just before the rename, which is what would land on it: the copy took a while.
    if (guarded != nullptr && guarded->holdsEntryAt(target)) {
        return CopyResult::TargetGuarded;
    }
    copy.putInPlace(target, durable);
    return CopyResult::Copied;
}

void syncFileSystemOf(const std::string& directory) {
    UniqueFd folder(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        if (errno == ENOENT) {
            return; // never made: nothing was written there
        }
        throw failureFromErrno(errno);
    }
#ifdef __linux__
    if (::syncfs(folder.get()) != 0) {
        throw failureFromErrno(errno);
    }
#else
    ::sync();
#endif
    if (::fsync(folder.get()) != 0 && errno != EINVAL && errno != EROFS) {
        throw failureFromErrno(errno);
    }
}

void requireListableDirectory(const std::string& path) {
    DIR* directory = ::opendir(path.c_str());
    if (directory != nullptr) {
        ::closedir(directory);
        return;
    }
    const int error = errno;
    if (error == ENOENT) {
        throw Failure(FailureNumber::PathNotFound);
    }
    if (error == ENOTDIR) {
        // Either the path names a file (it exists, but is no directory) or a directory on the
        // way to it is a file (the path is not found).
        struct stat info {};
        throw ::stat(path.c_str(), &info) == 0 ? Failure(FailureNumber::PathFileAccess)
                                               : Failure(FailureNumber::PathNotFound);
    }
    throw failureFromErrno(error);
}

void adviseWillNeed(const std::string& path) noexcept {
    // Only regular files are opened: opening a device or a pipe can have effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() >= 0) {
        ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_WILLNEED);
    }
}

std::string realPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

} // namespace runtime::fs
