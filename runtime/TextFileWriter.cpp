#include "runtime/TextFileWriter.h"

#include <cerrno>
#include <vector>

#include "runtime/Failure.h"
#include "runtime/Text.h"

#ifdef _WIN32
#include <io.h>

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

#ifdef _WIN32

long writeSome(int fd, const char* data, std::size_t length) {
    const unsigned chunk = length > (1u << 30) ? (1u << 30) : static_cast<unsigned>(length);
    return _write(fd, data, chunk);
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

bool exists(const std::string& target) {
    return ::GetFileAttributesW(path::native(target).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Keeps the file at target under the name of the (closed) temporary file `into`.
void keepCopy(const std::string& target, const std::string& into) {
    if (::CopyFileW(path::native(target).c_str(), path::native(into).c_str(), FALSE) == 0) {
        throw Failure(FailureNumber::PathFileAccess);
    }
}

void removeNewFile(const std::string& target) {
    ::DeleteFileW(path::native(target).c_str());
}

#else

long writeSome(int fd, const char* data, std::size_t length) {
    return static_cast<long>(::write(fd, data, length));
}

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

// Keeps the file at target under the name of the (closed) temporary file `into`: a second
// hard link where the file system has them, else a copy of its bytes.
void keepCopy(const std::string& target, const std::string& into) {
    if (::unlink(into.c_str()) == 0 && ::link(target.c_str(), into.c_str()) == 0) {
        return;
    }
    const int from = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    const int to =
        ::open(into.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    int error = from < 0 || to < 0 ? errno : 0;
    std::vector<char> buffer(64 * 1024);
    while (error == 0) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got <= 0) {
            error = got < 0 && errno != EINTR ? errno : 0;
            if (got == 0) {
                break;
            }
            continue;
        }
        if (::write(to, buffer.data(), static_cast<std::size_t>(got)) != got) {
            error = errno != 0 ? errno : ENOSPC;
        }
    }
    if (error == 0 && ::fdatasync(to) != 0) {
        error = errno;
    }
    for (const int fd : {from, to}) {
        if (fd >= 0) {
            ::close(fd);
        }
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

// The new file is made only once the target is known to be replaceable.
const std::string& refused(const std::string& target) {
    refuseTarget(target);
    return target;
}

} // namespace

TextFileWriter::TextFileWriter(const std::string& targetPath)
    : target_(targetPath), file_(refused(target_)) {}

TextFileWriter::~TextFileWriter() = default;

void TextFileWriter::writeLine(std::string_view line) {
    if (file_.descriptor() < 0) {
        throw Failure(FailureNumber::PathFileAccess); // written after close
    }
    buffer_.append(line);
    buffer_.append(text::kCrLf);
    if (buffer_.size() >= kFlushThreshold) {
        flush();
    }
}

void TextFileWriter::flush() {
    const int error = writeAll(file_.descriptor(), buffer_);
    // What could not be written is dropped either way: the failure is raised now, and the
    // file is not put in place.
    buffer_.clear();
    if (error != 0) {
        failed_ = true;
        throw failureFromErrno(error);
    }
}

void TextFileWriter::close() {
    if (file_.descriptor() < 0) {
        return;
    }
    const int error = writeAll(file_.descriptor(), buffer_);
    buffer_.clear();
    try {
        if (error != 0) {
            throw failureFromErrno(error);
        }
        file_.keepModeOf(target_);
        file_.close(true);
    } catch (...) {
        failed_ = true;
        file_.close(false);
        throw;
    }
}

void TextFileWriter::prepare() {
    close();
    if (failed_) {
        // Lines were lost: the file must not replace the target.
        throw Failure(FailureNumber::PathFileAccess);
    }
    refuseTarget(target_);
}

void TextFileWriter::putInPlace() {
    file_.putInPlace(target_, true);
    committed_ = true;
}

void TextFileWriter::commit() {
    if (committed_) {
        return;
    }
    prepare();
    putInPlace();
}

void TextFileWriter::commitUndoably() {
    if (committed_) {
        return;
    }
    prepare();
    hadEarlier_ = exists(target_);
    if (hadEarlier_) {
        earlier_ = std::make_unique<TemporaryFile>(target_);
        earlier_->close(false);
        keepCopy(target_, earlier_->path());
    }
    putInPlace();
}

void TextFileWriter::undo() {
    if (!committed_) {
        return;
    }
    if (hadEarlier_) {
        try {
            earlier_->putInPlace(target_, true);
        } catch (...) {
            earlier_->abandon(); // the earlier file's only name now: it must not be removed
            throw;
        }
    } else {
        removeNewFile(target_);
        syncDirectory(directoryPartOf(target_));
    }
    committed_ = false;
}

} // namespace runtime
