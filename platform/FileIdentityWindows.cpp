#include "platform/FileIdentity.h"

#include "platform/NativePath.h"
#include "platform/WindowsApi.h"

namespace platform::fs {

namespace {

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

} // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
    return identityOpening(path, 0);
}

std::optional<FileIdentity> entryIdentityOf(const std::string& path) {
    return identityOpening(path, FILE_FLAG_OPEN_REPARSE_POINT);
}

void ProtectedFiles::add(const std::string& path) {
    for (const std::optional<FileIdentity>& identity : {identityOf(path), entryIdentityOf(path)}) {
        if (identity) {
            files_.insert(*identity);
        }
    }
}

} // namespace platform::fs
