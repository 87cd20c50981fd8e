#include "platform/FileIdentity.h"
#include "platform/FileIdentityOfStat.h"

#include <sys/stat.h>

namespace platform::fs {

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return identityFrom(info);
}

std::optional<FileIdentity> entryIdentityOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return identityFrom(info);
}

void ProtectedFiles::add(const std::string& path) {
    // One look at the entry; a second, through it, only where it is a link.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return;
    }
    files_.insert(identityFrom(info));
    if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) == 0) {
        files_.insert(identityFrom(info));
    }
}

} // namespace platform::fs
