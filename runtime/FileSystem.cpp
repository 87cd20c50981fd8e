#include "runtime/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "runtime/Failure.h"
#include "runtime/NativePath.h"
#include "runtime/TemporaryFile.h"

#ifdef _WIN32
#include "runtime/WindowsApi.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif
#endif

namespace runtime::fs {

namespace {

// The causes of the copy's failures 75 that the program finds itself.
[[maybe_unused]] constexpr const char* kSizeNotReal =
    "it lies on a system file system whose file sizes are not real (such as /proc or /sys)";
[[maybe_unused]] constexpr const char* kYieldsMore = "it yields more bytes than its size says";
[[maybe_unused]] constexpr const char* kNotRegular = "it is not a regular file";
[[maybe_unused]] constexpr const char* kReadOnlyTarget =
    "a read-only file of that name is in the way";
[[maybe_unused]] constexpr const char* kDirectoryTarget = "a directory of that name is in the way";

} // namespace

#ifndef _WIN32

namespace {

// Owns one file descriptor and closes it on every path.
class UniqueFd {
public:
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return fd_; }
    // Closes now and reports the errno of a failed close (0 when it worked).
    int close() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) != 0 && errno != EINTR ? errno : 0;
    }

private:
    int fd_;
};

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

#else // _WIN32: the same services over the wide-character Win32 calls.

namespace {

using path::native;

// The failure a Win32 error code stands for; the counterpart of failureFromErrno.
Failure failureFromWindowsError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return Failure(FailureNumber::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY: return Failure(FailureNumber::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return Failure(FailureNumber::PermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return Failure(FailureNumber::DiskFull);
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return Failure(FailureNumber::DeviceIoError);
    default: return Failure(FailureNumber::PathFileAccess);
    }
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The failure for a path that is not there: 53 for a missing file or directory on the way to
// it, 76 when a file stands where a directory of the path should be (as on POSIX systems).
Failure missingPathFailure(const std::filesystem::path& path) {
    return path::blockedByFile(path) ? Failure(FailureNumber::PathNotFound)
                                     : Failure(FailureNumber::FileNotFound);
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_DIRECTORY;
}

// The attributes of an existing path.
DWORD attributesOrThrow(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        throw isMissing(error) ? missingPathFailure(path) : failureFromWindowsError(error);
    }
    return attributes;
}

bool isReadOnly(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool isDirectory(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Owns a handle from CreateFileW and closes it on every path.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    ~UniqueHandle() {
        if (valid()) {
            ::CloseHandle(handle_);
        }
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const noexcept { return handle_; }

private:
    HANDLE handle_;
};

// The volume and file index that identify a file however it is named; false when it cannot
// be opened.
bool fileIdentity(const std::filesystem::path& path, BY_HANDLE_FILE_INFORMATION& info) {
    const UniqueHandle handle(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return handle.valid() && ::GetFileInformationByHandle(handle.get(), &info) != 0;
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return fileIdentity(a, first) && fileIdentity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// The temporary file a copy is written to: removed again unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!path_.empty()) {
            // A copy of a read-only source is read-only, and DeleteFileW refuses those.
            ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void own(std::filesystem::path path) { path_ = std::move(path); }
    const std::filesystem::path& path() const noexcept { return path_; }
    void keep() noexcept { path_.clear(); }

private:
    std::filesystem::path path_;
};

// Copies source to a new file beside the target, under a name no other file has; CopyFileW
// takes the source's attributes (read-only among them) along.
void copyToTemporary(const std::filesystem::path& source, const std::filesystem::path& target,
                     TemporaryFile& temporary) {
    const std::filesystem::path parent =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
    const std::wstring prefix = L".quillvane-" + std::to_wstring(::GetCurrentProcessId());
    for (unsigned attempt = 0;; ++attempt) {
        const std::filesystem::path candidate =
            parent / (prefix + L"-" + std::to_wstring(attempt) + L".tmp");
        if (::CopyFileW(source.c_str(), candidate.c_str(), TRUE) != 0) {
            temporary.own(candidate);
            return;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 1000) {
            // CopyFileW removes what it wrote of a copy that failed.
            throw failureFromWindowsError(error);
        }
    }
}

} // namespace

Attributes fileAttributes(const std::string& path) {
    const DWORD attributes = attributesOrThrow(native(path));
    return Attributes{isDirectory(attributes), isReadOnly(attributes)};
}

std::uint64_t fileLength(const std::string& path) {
    const std::filesystem::path file = native(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) == 0) {
        const DWORD error = ::GetLastError();
        throw isMissing(error) ? missingPathFailure(file) : failureFromWindowsError(error);
    }
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

void createDirectory(const std::string& path) {
    if (::CreateDirectoryW(native(path).c_str(), nullptr) != 0) {
        return;
    }
    const DWORD error = ::GetLastError();
    // A missing parent is a missing path; an existing file or directory of that name is 75,
    // with the cause a POSIX system gives it.
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        throw Failure(FailureNumber::PathFileAccess, EEXIST);
    }
    throw error == ERROR_FILE_NOT_FOUND ? Failure(FailureNumber::PathNotFound)
                                        : failureFromWindowsError(error);
}

CopyResult copyFile(const std::string& source, const std::string& target,
                    const ProtectedFiles* guarded, bool durable) {
    (void)durable; // MoveFileExW below writes through
    const std::filesystem::path from = native(source);
    const std::filesystem::path to = native(target);
    // Only files are copied: a directory or a device is an access failure.
    const DWORD sourceAttributes = attributesOrThrow(from);
    if (isDirectory(sourceAttributes) || (sourceAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        throw Failure(FailureNumber::PathFileAccess, kNotRegular);
    }
    const DWORD targetAttributes = ::GetFileAttributesW(to.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES) {
        if (sameFile(from, to)) {
            return CopyResult::SameFile;
        }
        if (guarded != nullptr && guarded->holdsEntryAt(target)) {
            return CopyResult::TargetGuarded;
        }
        // Checked here, before anything is written.
        if (isDirectory(targetAttributes)) {
            throw Failure(FailureNumber::PathFileAccess, kDirectoryTarget);
        }
        if (isReadOnly(targetAttributes)) {
            throw Failure(FailureNumber::PathFileAccess, kReadOnlyTarget);
        }
    } else if (const DWORD error = ::GetLastError(); !isMissing(error)) {
        throw failureFromWindowsError(error);
    }

    TemporaryFile temporary;
    copyToTemporary(from, to, temporary);
    if (guarded != nullptr && guarded->holdsEntryAt(target)) {
        return CopyResult::TargetGuarded;
    }
    if (::MoveFileExW(temporary.path().c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        throw failureFromWindowsError(::GetLastError());
    }
    temporary.keep();
    return CopyResult::Copied;
}

void syncFileSystemOf(const std::string&) {
    // Each copy was moved into place writing through.
}

void requireListableDirectory(const std::string& path) {
    const std::filesystem::path directory = native(path);
    const DWORD attributes = ::GetFileAttributesW(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        throw isMissing(error) ? Failure(FailureNumber::PathNotFound)
                               : failureFromWindowsError(error);
    }
    if (!isDirectory(attributes)) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileExW((directory / L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return; // listable, only empty (a drive's root has no "." entry)
        }
        throw failureFromWindowsError(error);
    }
    ::FindClose(search);
}

void adviseWillNeed(const std::string&) noexcept {
    // Windows reads ahead by itself within a file; there is no advice across files.
}

std::string realPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(native(path), error);
    return error ? path : path::utf8(resolved.lexically_normal().make_preferred());
}

#endif

} // namespace runtime::fs
