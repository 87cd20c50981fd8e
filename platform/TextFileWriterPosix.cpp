#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Failure.h"
#include "platform/TemporaryFile.h"
#include "platform/TextFileWriterCalls.h"
#include "platform/UniqueFd.h"

namespace platform::text_file_writer {

namespace {

// In a directory with the sticky bit (a shared folder), only a file's owner, the directory's
// owner or root may replace the file, whatever its permission bits say.
void refuseStickyDirectory(const std::string& target, const struct stat& info) {
    const std::string directory = directoryPartOf(target);
    struct stat folder {};
    if (::stat(directory.empty() ? "." : directory.c_str(), &folder) != 0) {
        return; // creating the new file there says more
    }
    const uid_t self = ::geteuid();
    if ((folder.st_mode & S_ISVTX) != 0 && self != 0 && info.st_uid != self &&
        folder.st_uid != self) {
        throw Failure(FailureNumber::PermissionDenied, EPERM);
    }
}

} // namespace

long writeSome(int fd, const char* data, std::size_t length) {
    return static_cast<long>(::write(fd, data, length));
}

void startWritingOut(int fd, std::uint64_t offset, std::uint64_t length) noexcept {
#ifdef __linux__
    // A hint: whatever it answers, the sync at the close still does what is left.
    [[maybe_unused]] const int ignored = ::sync_file_range(
        fd, static_cast<off_t>(offset), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
#else
    static_cast<void>(fd);
    static_cast<void>(offset);
    static_cast<void>(length);
#endif
}

void refuseTarget(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        // Nothing there (or a path that cannot be examined): creating the new file says more.
        return;
    }
    refuseStickyDirectory(target, info);
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

bool exists(const std::string& target) {
    struct stat info {};
    return ::lstat(target.c_str(), &info) == 0;
}

// A second hard link where the file system has them, else a copy of its bytes.
void keepCopy(const std::string& target, const std::string& into) {
    if (::unlink(into.c_str()) == 0 && ::link(target.c_str(), into.c_str()) == 0) {
        return;
    }
    const UniqueFd from(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY));
    const UniqueFd to(
        ::open(into.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    int error = !from.valid() || !to.valid() ? errno : 0;
    std::vector<char> buffer(64 * 1024);
    while (error == 0) {
        const ssize_t got = ::read(from.get(), buffer.data(), buffer.size());
        if (got <= 0) {
            error = got < 0 && errno != EINTR ? errno : 0;
            if (got == 0) {
                break;
            }
            continue;
        }
        if (::write(to.get(), buffer.data(), static_cast<std::size_t>(got)) != got) {
            error = errno != 0 ? errno : ENOSPC;
        }
    }
    if (error == 0 && ::fdatasync(to.get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        throw failureFromErrno(error);
    }
}

void removeNewFile(const std::string& target) {
    if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
        throw failureFromErrno(errno);
    }
}

} // namespace platform::text_file_writer
