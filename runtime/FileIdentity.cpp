#include "runtime/FileIdentity.h"

namespace runtime::fs {

bool ProtectedFiles::holdsEntryAt(const std::string& path) const {
    if (files_.empty()) {
        return false;
    }
    const std::optional<FileIdentity> identity = entryIdentityOf(path);
    return identity && files_.contains(*identity);
}

} // namespace runtime::fs
