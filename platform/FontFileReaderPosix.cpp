#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Failure.h"
#include "platform/FontFileReaderCalls.h"

namespace platform::font_file_reader {

int openForReading(const std::string& utf8Path) {
    // Never O_CREAT. O_NONBLOCK keeps the open of a named pipe from waiting for a writer; the
    // pipe is then refused as not a regular file. On a regular file it changes nothing.
    int fd = -1;
    do {
        fd = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openForReadingIn(int directoryFd, const char* name, const std::string& utf8Path) {
    if (directoryFd < 0) {
        return openForReading(utf8Path);
    }
    int fd = -1;
    do {
        fd = ::openat(directoryFd, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openDirectory(const std::string& utf8Path) {
    int fd = -1;
    do {
        fd = ::open(utf8Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool isRegularFile(int fd, std::uint64_t& size) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw failureFromErrno(errno);
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return S_ISREG(info.st_mode);
}

std::size_t readAt(int fd, std::uint64_t offset, std::uint8_t* into, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(fd, into + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw failureFromErrno(errno);
        }
        if (got == 0) {
            break; // the file ended (it may have shrunk since it was opened)
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace platform::font_file_reader
