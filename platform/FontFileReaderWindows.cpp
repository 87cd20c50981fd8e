#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/FontFileReaderCalls.h"
#include "platform/NativePath.h"

namespace platform::font_file_reader {

int openForReading(const std::string& utf8Path) {
    const std::filesystem::path path = path::native(utf8Path);
    int fd = -1;
    const errno_t error =
        _wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    if (error != 0) {
        // The system refuses to open a directory as a file with EACCES; it is no permission
        // problem but a path that names the wrong kind of thing, as EISDIR says elsewhere.
        // A file where a directory of the path should be is ENOTDIR, as on POSIX systems.
        std::error_code ignored;
        if (error == EACCES && std::filesystem::is_directory(path, ignored)) {
            errno = EISDIR;
        } else if (error == ENOENT && path::blockedByFile(path)) {
            errno = ENOTDIR;
        } else {
            errno = error;
        }
        return -1;
    }
    return fd;
}

// No relative opens here: every file is opened by its path.
int openForReadingIn(int, const char*, const std::string& utf8Path) {
    return openForReading(utf8Path);
}

int openDirectory(const std::string&) {
    return -1;
}

// Files are opened by their paths: there is no directory descriptor to copy.
int duplicateDirectory(int) {
    return -1;
}

bool isRegularFile(int fd, std::uint64_t& size) {
    struct _stat64 info {};
    if (_fstat64(fd, &info) != 0) {
        throw failureFromErrno(errno);
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return (info.st_mode & _S_IFMT) == _S_IFREG;
}

std::size_t readAt(int fd, std::uint64_t offset, std::uint8_t* into, std::size_t length) {
    if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) {
        throw failureFromErrno(errno);
    }
    std::size_t done = 0;
    while (done < length) {
        const unsigned chunk =
            static_cast<unsigned>(std::min<std::size_t>(length - done, 1u << 30));
        const int got = _read(fd, into + done, chunk);
        if (got < 0) {
            throw failureFromErrno(errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace platform::font_file_reader
