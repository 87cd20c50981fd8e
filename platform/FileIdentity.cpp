#include "platform/FileIdentity.h"

namespace platform::fs {

bool ProtectedFiles::holdsEntryAt(const std::string& path) const {
    if (files_.empty()) {
        return false;
    }
    const std::optional<FileIdentity> identity = entryIdentityOf(path);
    return identity && files_.contains(*identity);
}

} // namespace platform::fs
