#include "runtime/FileIdentity.h"

#ifdef _WIN32
#include "runtime/NativePath.h"
#include "runtime/WindowsApi.h"
#else
#include <sys/stat.h>
#endif

namespace runtime::fs {

namespace {

#ifdef _WIN32

std::optional<FileIdentity> identityOpening(const std::string& path, DWORD flags) {
    const HANDLE handle = ::CreateFileW(
        path::native(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

#else

std::optional<FileIdentity> identityFrom(int result, const struct stat& info) {
    if (result != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

#endif

} // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
#ifdef _WIN32
    return identityOpening(path, 0);
#else
    struct stat info {};
    const int result = ::stat(path.c_str(), &info);
    return identityFrom(result, info);
#endif
}

std::optional<FileIdentity> entryIdentityOf(const std::string& path) {
#ifdef _WIN32
    return identityOpening(path, FILE_FLAG_OPEN_REPARSE_POINT);
#else
    struct stat info {};
    const int result = ::lstat(path.c_str(), &info);
    return identityFrom(result, info);
#endif
}

void ProtectedFiles::add(const std::string& path) {
#ifdef _WIN32
    for (const std::optional<FileIdentity>& identity : {identityOf(path), entryIdentityOf(path)}) {
        if (identity) {
            files_.insert(*identity);
        }
    }
#else
    // One look at the entry; a second, through it, only where it is a link.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return;
    }
    files_.insert(*identityFrom(0, info));
    if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) == 0) {
        files_.insert(*identityFrom(0, info));
    }
#endif
}

bool ProtectedFiles::holdsEntryAt(const std::string& path) const {
    if (files_.empty()) {
        return false;
    }
    const std::optional<FileIdentity> identity = entryIdentityOf(path);
    return identity && files_.contains(*identity);
}

} // namespace runtime::fs
