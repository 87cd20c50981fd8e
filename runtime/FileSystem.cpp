#include "runtime/FileSystem.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "runtime/Failure.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace runtime::fs {

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

// The temporary file a copy is written to: removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const noexcept { return path_; }
    void keep() noexcept { path_.clear(); }

private:
    std::string path_;
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

// The directory a path's file lies in, for the temporary file of a copy.
std::string directoryOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
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

void copyBytes(int from, int to) {
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
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
    throw errno == ENOENT ? Failure(FailureNumber::PathNotFound) : failureFromErrno(errno);
}

void copyFile(const std::string& source, const std::string& target) {
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
        throw Failure(FailureNumber::PathFileAccess);
    }
    struct stat to {};
    if (::stat(target.c_str(), &to) == 0) {
        if (to.st_dev == from.st_dev && to.st_ino == from.st_ino) {
            return; // copying a file onto itself: it already holds the source's bytes
        }
        // Checked here, before anything is written, because root ignores permission bits.
        if (S_ISDIR(to.st_mode) || isReadOnly(to)) {
            throw Failure(FailureNumber::PathFileAccess);
        }
    } else if (errno != ENOENT) {
        throw failureFromErrno(errno);
    }

    std::string pattern = directoryOf(target) + "/.quillvane-copy-XXXXXX";
    UniqueFd out(::mkstemp(pattern.data()));
    if (out.get() < 0) {
        throw errno == ENOENT ? Failure(FailureNumber::PathNotFound) : failureFromErrno(errno);
    }
    TemporaryFile temporary(pattern);
    ::fcntl(out.get(), F_SETFD, FD_CLOEXEC);

    copyBytes(in.get(), out.get());
    if (::fchmod(out.get(), from.st_mode & 0777) != 0) {
        throw failureFromErrno(errno);
    }
    if (const int error = out.close(); error != 0) {
        throw failureFromErrno(error);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        throw failureFromErrno(errno);
    }
    temporary.keep();
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

#else // _WIN32: the same services over std::filesystem.

namespace {

std::filesystem::path nativePath(const std::string& utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

Failure failureFrom(const std::error_code& error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category()) {
        return failureFromErrno(condition.value());
    }
    return Failure(FailureNumber::PathFileAccess);
}

std::filesystem::file_status statusOrThrow(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        throw Failure(FailureNumber::FileNotFound);
    }
    if (error) {
        throw failureFrom(error);
    }
    return status;
}

bool isReadOnly(const std::filesystem::file_status& status) {
    return (status.permissions() & std::filesystem::perms::owner_write) ==
           std::filesystem::perms::none;
}

} // namespace

Attributes fileAttributes(const std::string& path) {
    const auto status = statusOrThrow(nativePath(path));
    return Attributes{std::filesystem::is_directory(status), isReadOnly(status)};
}

std::uint64_t fileLength(const std::string& path) {
    const auto native = nativePath(path);
    statusOrThrow(native);
    std::error_code error;
    const auto size = std::filesystem::file_size(native, error);
    if (error) {
        throw failureFrom(error);
    }
    return size;
}

void createDirectory(const std::string& path) {
    const auto native = nativePath(path);
    std::error_code error;
    if (std::filesystem::exists(native, error)) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    if (!std::filesystem::exists(native.parent_path(), error)) {
        throw Failure(FailureNumber::PathNotFound);
    }
    if (!std::filesystem::create_directory(native, error)) {
        throw error ? failureFrom(error) : Failure(FailureNumber::PathFileAccess);
    }
}

void copyFile(const std::string& source, const std::string& target) {
    const auto from = nativePath(source);
    const auto to = nativePath(target);
    if (!std::filesystem::is_regular_file(statusOrThrow(from))) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    std::error_code error;
    const auto targetStatus = std::filesystem::status(to, error);
    if (std::filesystem::exists(targetStatus)) {
        if (std::filesystem::equivalent(from, to, error)) {
            return;
        }
        if (std::filesystem::is_directory(targetStatus) || isReadOnly(targetStatus)) {
            throw Failure(FailureNumber::PathFileAccess);
        }
    }
    const auto parent = to.parent_path().empty() ? std::filesystem::path(".") : to.parent_path();
    if (!std::filesystem::is_directory(parent, error)) {
        throw Failure(FailureNumber::PathNotFound);
    }
    std::filesystem::path name(".quillvane-copy-");
    name += to.filename();
    const auto temporary = parent / name;
    if (!std::filesystem::copy_file(from, temporary,
                                    std::filesystem::copy_options::overwrite_existing, error)) {
        std::filesystem::remove(temporary, error);
        throw Failure(FailureNumber::PathFileAccess);
    }
    std::filesystem::rename(temporary, to, error);
    if (error) {
        const Failure failure = failureFrom(error);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw failure;
    }
}

void requireListableDirectory(const std::string& path) {
    const auto native = nativePath(path);
    std::error_code error;
    const auto status = std::filesystem::status(native, error);
    if (!std::filesystem::exists(status)) {
        throw Failure(FailureNumber::PathNotFound);
    }
    if (!std::filesystem::is_directory(status)) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    std::filesystem::directory_iterator listing(native, error);
    if (error) {
        throw failureFrom(error);
    }
}

#endif

} // namespace runtime::fs
