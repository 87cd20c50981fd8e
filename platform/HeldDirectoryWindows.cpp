// On Windows the directory is held by its path and its identity: every write goes through the
// path, and stillAtItsPath tells whether the path was moved to another directory meanwhile.
#include "platform/HeldDirectory.h"

#include <string>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/PathText.h"
#include "platform/WindowsApi.h"

namespace platform::fs {

HeldDirectory::HeldDirectory(const std::string& path) {
    const std::string directory = path.empty() ? std::string(".") : path;
    if (!fileAttributes(directory).directory) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    path_ = path::withTrailingSeparator(realPath(directory));
    const std::optional<FileIdentity> identity = identityOf(path_);
    if (!identity) {
        throw Failure(FailureNumber::PathNotFound);
    }
    identity_ = *identity;
}

bool HeldDirectory::stillAtItsPath() const {
    const std::optional<FileIdentity> there = identityOf(path_);
    return there && *there == identity_;
}

std::optional<FileIdentity> HeldDirectory::entryIdentity(std::string_view name) const {
    return entryIdentityOf(path_ + std::string(name));
}

void HeldDirectory::removeIf(std::string_view name, const FileIdentity& identity) const noexcept {
    try {
        if (entryIdentity(name) == identity) {
            ::DeleteFileW(path::native(path_ + std::string(name)).c_str());
        }
    } catch (...) {
        // Out of memory for the name: the file stays.
    }
}

void HeldDirectory::sync() const {
    // Each copy was moved into place writing through.
}

} // namespace platform::fs
