#include "platform/TemporaryFile.h"

#include <cerrno>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/NativePath.h"
#include "platform/TemporaryFileCalls.h"
#include "platform/WindowsApi.h"
#include "platform/WindowsFailure.h"

namespace platform {

namespace temporary_file {

long processId() {
    return static_cast<long>(::GetCurrentProcessId());
}

namespace {

// Windows writes through paths: a name in a held directory is a name under its path.
std::string pathOf(const fs::HeldDirectory* directory, const std::string& name) {
    return directory != nullptr ? directory->path() + name : name;
}

} // namespace

int createNew(const fs::HeldDirectory* directory, const std::string& name) {
    const std::string utf8Path = pathOf(directory, name);
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

int syncFile(int fd) {
    return _commit(fd) == 0 ? 0 : errno;
}

void removeFile(const fs::HeldDirectory* directory, const std::string& name) noexcept {
    std::wstring path;
    try {
        path = path::native(pathOf(directory, name)).wstring();
    } catch (...) {
        return;
    }
    // A copy of a read-only source is read-only, and DeleteFileW refuses those.
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

void rename(const fs::HeldDirectory* directory, const std::string& from, const std::string& to) {
    if (::MoveFileExW(path::native(pathOf(directory, from)).c_str(),
                      path::native(pathOf(directory, to)).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        throw failureFromWindowsError(::GetLastError());
    }
}

// The file system commits renames itself.
void syncHeldDirectory(const fs::HeldDirectory&) {}

} // namespace temporary_file

std::string directoryPartOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Windows files carry no permission bits or group to keep.
bool TemporaryFile::keepModeOf(const std::string&) {
    return false;
}

void TemporaryFile::setModeAndGroup(unsigned, unsigned long) {}

void TemporaryFile::setMode(unsigned) {}

// The file system commits renames itself.
void syncDirectory(const std::string&) {}

} // namespace platform
