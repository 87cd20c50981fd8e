#include "runtime/TextFileWriter.h"

#include <atomic>
#include <cerrno>

#include "runtime/Failure.h"
#include "runtime/Text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <filesystem>
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

// Output is handed to the system once this much has gathered.
constexpr std::size_t kFlushThreshold = 64 * 1024;

// Tells the new files of one process apart; the process ID tells processes apart.
std::atomic<unsigned> temporaryCounter{0};

// The directory part of a path, with its separator, for the new file beside the target: "dir/"
// for "dir/file", "/" for "/file", nothing for a bare name (the current directory).
std::string directoryPart(const std::string& path) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("\\/:");
#else
    const std::size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

#ifdef _WIN32

int processId() {
    return static_cast<int>(::GetCurrentProcessId());
}

void refuseTarget(const std::string& target) {
    const DWORD attributes = ::GetFileAttributesW(path::native(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return; // nothing there, or nothing to tell yet: creating the new file says more
    }
    if ((attributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        throw Failure(FailureNumber::PathFileAccess);
    }
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

long writeSome(int fd, const char* data, std::size_t length) {
    const unsigned chunk = length > (1u << 30) ? (1u << 30) : static_cast<unsigned>(length);
    return _write(fd, data, chunk);
}

int closeFile(int fd) {
    return _close(fd) == 0 ? 0 : errno;
}

void removeFile(const std::string& utf8Path) {
    ::DeleteFileW(path::native(utf8Path).c_str());
}

void replace(const std::string& from, const std::string& to) {
    if (::MoveFileExW(path::native(from).c_str(), path::native(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING) != 0) {
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

int processId() {
    return static_cast<int>(::getpid());
}

void refuseTarget(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        // Nothing there (or a path that cannot be examined): creating the new file says more.
        return;
    }
    if (S_ISLNK(info.st_mode)) {
        return; // the link itself is replaced; what it points to is not touched
    }
    // A directory, a named pipe or a device is nothing to replace with a text file; a
    // read-only file is refused here because root ignores permission bits.
    if (!S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    // A file this process may not write (another user's, an immutable one) is not replaced
    // behind its owner's back, even where the directory would allow it.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        throw failureFromErrno(errno);
    }
}

int createNew(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

long writeSome(int fd, const char* data, std::size_t length) {
    return static_cast<long>(::write(fd, data, length));
}

int closeFile(int fd) {
    // After EINTR the descriptor is gone on Linux; there is nothing to retry.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

void replace(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        throw failureFromErrno(errno);
    }
}

#endif

// Writes all of buffer; 0 or the errno of the failure.
int writeAll(int fd, const std::string& buffer) {
    const char* data = buffer.data();
    std::size_t left = buffer.size();
    while (left > 0) {
        const long written = writeSome(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

} // namespace

TextFileWriter::TextFileWriter(const std::string& targetPath) : target_(targetPath) {
    refuseTarget(target_);
    const std::string prefix = directoryPart(target_) + ".quillvane-" + std::to_string(processId());
    for (int attempt = 0;; ++attempt) {
        std::string candidate = prefix + "-" + std::to_string(temporaryCounter++) + ".tmp";
        fd_ = createNew(candidate);
        if (fd_ >= 0) {
            temporary_ = std::move(candidate);
            return;
        }
        if (errno != EEXIST || attempt >= 1000) {
            // Creating a file: a missing name can only be a missing directory.
            throw errno == ENOENT ? Failure(FailureNumber::PathNotFound) : failureFromErrno(errno);
        }
    }
}

TextFileWriter::~TextFileWriter() {
    if (fd_ >= 0) {
        closeFile(fd_);
    }
    if (!committed_) {
        removeFile(temporary_);
    }
}

void TextFileWriter::writeLine(std::string_view line) {
    if (fd_ < 0) {
        throw Failure(FailureNumber::PathFileAccess); // written after close
    }
    buffer_.append(line);
    buffer_.append(text::kCrLf);
    if (buffer_.size() >= kFlushThreshold) {
        flush();
    }
}

void TextFileWriter::flush() {
    const int error = writeAll(fd_, buffer_);
    // What could not be written is dropped either way: the failure is raised now, and the
    // file is not put in place.
    buffer_.clear();
    if (error != 0) {
        failed_ = true;
        throw failureFromErrno(error);
    }
}

void TextFileWriter::close() {
    if (fd_ < 0) {
        return;
    }
    int error = writeAll(fd_, buffer_);
    buffer_.clear();
    const int closeError = closeFile(fd_);
    fd_ = -1;
    if (error == 0) {
        error = closeError;
    }
    if (error != 0) {
        failed_ = true;
        throw failureFromErrno(error);
    }
}

void TextFileWriter::commit() {
    if (committed_) {
        return;
    }
    close();
    if (failed_) {
        // Lines were lost: the file must not replace the target.
        throw Failure(FailureNumber::PathFileAccess);
    }
    replace(temporary_, target_);
    committed_ = true;
}

} // namespace runtime
