#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
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

#include "platform/CopyFailureCauses.h"
#include "platform/Failure.h"
#include "platform/FileIdentityOfStat.h"
#include "platform/HeldDirectory.h"
#include "platform/TemporaryFile.h"
#include "platform/UniqueFd.h"

namespace platform::fs {

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
// source. Returns how many bytes it copied; a failed read is the source's failure.
std::uint64_t copyThroughBuffer(int from, int to, std::uint64_t left) {
    const std::uint64_t wanted = left;
    if (left == 0) {
        return 0;
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
            throw SourceFailure(failureFromErrno(errno));
        }
        if (got == 0) {
            break;
        }
        writeAll(to, buffer.data(), static_cast<std::size_t>(got));
        left -= static_cast<std::uint64_t>(got);
    }
    return wanted - left;
}

#ifdef __linux__
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

// Whether a failed in-kernel copy ran out of room in the destination; any other failure is
// left to the buffered copy, which tells a failed read (the source's) from a failed write.
bool destinationIsFull(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// Copies the source's `size` bytes (what it held when opened), from the current offsets. On
// Linux the kernel copies the bytes itself, without bringing them into this process
// (copy_file_range, as cp does); where it cannot, or where it stops early, the buffered copy
// takes over where it stopped. A source that still has bytes after `size` raises 75: its size
// was no measure of it; one that ends before them changed while it was copied.
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
        if (copied < 0 && destinationIsFull(errno)) {
            throw failureFromErrno(errno);
        }
        break; // the end, or no copy in the kernel: the buffer reads on to make sure
    }
#endif
    if (copyThroughBuffer(from, to, left) != left) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kChangedWhileCopied));
    }
    char more = 0;
    ssize_t got = 0;
    do {
        got = ::read(from, &more, 1);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kYieldsMore));
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

namespace {

void (*stepBeforeCopyingBytes)(const std::string&) = nullptr;

// The source opened for a copy, with what it was at open; every failure is the source's.
struct OpenSource {
    UniqueFd fd;
    struct stat info {};
};

OpenSource openSource(const std::string& source) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer (it is refused below).
    OpenSource opened{
        UniqueFd(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK))};
    if (!opened.fd.valid() || ::fstat(opened.fd.get(), &opened.info) != 0) {
        throw SourceFailure(failureFromErrno(errno));
    }
    // Only regular files are copied: a directory, a pipe or a device is an access failure.
    if (!S_ISREG(opened.info.st_mode)) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kNotRegular));
    }
#ifdef __linux__
    if (sizesAreNotReal(opened.fd.get())) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kSizeNotReal));
    }
#endif
    return opened;
}

// After its bytes were copied: the source is still the file that was opened, of the same size
// and time of writing, so that the copy is of one version of it.
void requireUnchanged(const OpenSource& opened, const std::string& source) {
    struct stat after {};
    struct stat there {};
    const bool same = ::fstat(opened.fd.get(), &after) == 0 &&
                      after.st_size == opened.info.st_size &&
                      after.st_mtim.tv_sec == opened.info.st_mtim.tv_sec &&
                      after.st_mtim.tv_nsec == opened.info.st_mtim.tv_nsec &&
                      (::stat(source.c_str(), &there) != 0 ||
                       (there.st_dev == opened.info.st_dev && there.st_ino == opened.info.st_ino));
    if (!same) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kChangedWhileCopied));
    }
}

// What stands at the copy's name: whether the copy may replace it, or the copy is not made.
std::optional<CopyResult> checkTarget(const struct stat& from, const HeldDirectory& directory,
                                      const std::string& name, const ProtectedFiles* guarded,
                                      struct stat& to) {
    // The name itself is examined, not what a link there points to: a link at the target's
    // name is replaced by the copy like any file, and never written through.
    if (::fstatat(directory.descriptor(), name.c_str(), &to, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) {
            throw failureFromErrno(errno);
        }
        to.st_mode = 0;
        return std::nullopt;
    }
    if (to.st_dev == from.st_dev && to.st_ino == from.st_ino) {
        return CopyResult::SameFile;
    }
    if (guarded != nullptr && guarded->holds(identityFrom(to))) {
        return CopyResult::TargetGuarded;
    }
    // Checked here, before anything is written, because root ignores permission bits.
    if (S_ISDIR(to.st_mode)) {
        throw Failure(FailureNumber::PathFileAccess, kDirectoryTarget);
    }
    if (isReadOnly(to)) {
        throw Failure(FailureNumber::PathFileAccess, kReadOnlyTarget);
    }
    return std::nullopt;
}

} // namespace

void setStepBeforeCopyingBytes(void (*step)(const std::string& source)) noexcept {
    stepBeforeCopyingBytes = step;
}

CopyResult copyFile(const std::string& source, const std::string& target,
                    const ProtectedFiles* guarded, bool durable) {
    const std::size_t slash = target.find_last_of('/');
    const std::string directoryPath =
        slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const HeldDirectory directory(directoryPath);
    return copyFile(source, directory, target.substr(slash + 1), guarded, durable);
}

CopyResult copyFile(const std::string& source, const HeldDirectory& directory,
                    const std::string& name, const ProtectedFiles* guarded, bool durable,
                    FileIdentity* made) {
    const OpenSource in = openSource(source);
    struct stat to {};
    if (const std::optional<CopyResult> notCopied =
            checkTarget(in.info, directory, name, guarded, to)) {
        return *notCopied;
    }
    TemporaryFile copy(directory);
    if (stepBeforeCopyingBytes != nullptr) {
        stepBeforeCopyingBytes(source);
    }
    copyBytes(in.fd.get(), copy.descriptor(), static_cast<std::uint64_t>(in.info.st_size));
    requireUnchanged(in, source);
    // The file it replaces keeps its permission bits and (where the user belongs to it) its
    // group; a new copy takes the source's permission bits.
    if (S_ISREG(to.st_mode)) {
        copy.setModeAndGroup(to.st_mode, to.st_gid);
    } else {
        copy.setMode(in.info.st_mode & 0777);
    }
    if (made != nullptr) {
        struct stat info {};
        if (::fstat(copy.descriptor(), &info) != 0) {
            throw failureFromErrno(errno);
        }
        *made = identityFrom(info);
    }
    copy.close(durable);
    // Again just before the rename, which is what would land on it: the copy took a while.
    if (guarded != nullptr && !guarded->empty()) {
        const std::optional<FileIdentity> there = directory.entryIdentity(name);
        if (there && guarded->holds(*there)) {
            return CopyResult::TargetGuarded;
        }
    }
    copy.putInPlace(name, durable);
    return CopyResult::Copied;
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

} // namespace platform::fs
