#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Failure.h"
#include "platform/FontFileReaderCalls.h"
#include "platform/UniqueFd.h"

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

namespace {

constexpr int kFileFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

int openAt(int directoryFd, const char* name, int flags) {
    int fd = -1;
    do {
        fd = ::openat(directoryFd, name, flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A relative path longer than the system takes in one call (a file deep in a folder tree):
// its folders are opened one by one, each relative to the last, then the file in the last.
int openStepByStep(int directoryFd, const char* relative) {
    std::string_view rest(relative);
    UniqueFd held;
    int from = directoryFd;
    for (std::size_t slash = rest.find('/'); slash != std::string_view::npos;
         slash = rest.find('/')) {
        if (slash > 0) {
            const std::string folder(rest.substr(0, slash));
            UniqueFd next(openAt(from, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!next.valid()) {
                return -1;
            }
            held = std::move(next);
            from = held.get();
        }
        rest.remove_prefix(slash + 1);
    }
    return openAt(from, std::string(rest).c_str(), kFileFlags);
}

} // namespace

int openForReadingIn(int directoryFd, const char* name, const std::string& utf8Path) {
    if (directoryFd < 0) {
        return openForReading(utf8Path);
    }
    const int fd = openAt(directoryFd, name, kFileFlags);
    if (fd < 0 && errno == ENAMETOOLONG) {
        return openStepByStep(directoryFd, name);
    }
    return fd;
}

int openDirectory(const std::string& utf8Path) {
    int fd = -1;
    do {
        fd = ::open(utf8Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int duplicateDirectory(int directoryFd) {
    return directoryFd < 0 ? -1 : ::fcntl(directoryFd, F_DUPFD_CLOEXEC, 0);
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
