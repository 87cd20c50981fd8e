#include "runtime/TextFileWriter.h"

#include <cerrno>

#include "runtime/Failure.h"

#ifdef _WIN32
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <system_error>

#include "runtime/NativePath.h"
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace runtime {

namespace {

// Output is handed to the system once this much has gathered.
constexpr std::size_t kFlushThreshold = 64 * 1024;

#ifdef _WIN32

int createForWriting(const std::string& utf8Path) {
    const std::filesystem::path path = path::native(utf8Path);
    int fd = -1;
    const errno_t error =
        _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        // The system refuses to open a directory as a file with EACCES; it is no permission
        // problem but a path that names the wrong kind of thing, as EISDIR says elsewhere.
        std::error_code ignored;
        errno = error == EACCES && std::filesystem::is_directory(path, ignored) ? EISDIR : error;
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

#else

int createForWriting(const std::string& utf8Path) {
    // O_NONBLOCK so that a named pipe without a reader fails (ENXIO) instead of hanging; it is
    // cleared again at once, so writes to anything else behave as usual.
    int fd = -1;
    do {
        fd = ::open(utf8Path.c_str(),
                    O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1) {
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        }
    }
    return fd;
}

long writeSome(int fd, const char* data, std::size_t length) {
    return static_cast<long>(::write(fd, data, length));
}

int closeFile(int fd) {
    // After EINTR the descriptor is gone on Linux; there is nothing to retry.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
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

TextFileWriter::TextFileWriter(const std::string& utf8Path) {
    fd_ = createForWriting(utf8Path);
    if (fd_ < 0) {
        // Creating a file: a missing name can only be a missing directory.
        throw errno == ENOENT ? Failure(FailureNumber::PathNotFound) : failureFromErrno(errno);
    }
}

TextFileWriter::~TextFileWriter() {
    if (fd_ >= 0) {
        writeAll(fd_, buffer_);
        closeFile(fd_);
    }
}

void TextFileWriter::writeLine(std::string_view line) {
    if (fd_ < 0) {
        throw Failure(FailureNumber::PathFileAccess); // written after close
    }
    buffer_.append(line);
    buffer_.append("\r\n");
    if (buffer_.size() >= kFlushThreshold) {
        flush();
    }
}

void TextFileWriter::flush() {
    const int error = writeAll(fd_, buffer_);
    // What could not be written is dropped either way: the failure is raised now, and neither
    // close nor the destructor tries the same bytes again.
    buffer_.clear();
    if (error != 0) {
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
        throw failureFromErrno(error);
    }
}

} // namespace runtime
