#include <memory>
#include <string>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "runtime/DirectoryEntries.h"
#include "runtime/Text.h"

namespace runtime::directory_entries {

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// Whether an entry is of a type (DT_REG with S_IFREG, DT_DIR with S_IFDIR); a link, or an entry
// whose type the file system does not tell, is followed.
bool isOfType(int directoryFd, const dirent& entry, unsigned char type, mode_t mode) {
    if (entry.d_type == type) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return ::fstatat(directoryFd, entry.d_name, &info, 0) == 0 && (info.st_mode & S_IFMT) == mode;
}

bool isRegularFile(int directoryFd, const dirent& entry) {
    return isOfType(directoryFd, entry, DT_REG, S_IFREG);
}

bool isDirectory(int directoryFd, const dirent& entry) {
    return isOfType(directoryFd, entry, DT_DIR, S_IFDIR);
}

} // namespace

void visibleEntries(const std::string& directory, EntryKind kind,
                    const std::function<bool(std::string_view)>& keep, TextList& names,
                    TextList& folded) {
    const std::unique_ptr<DIR, DirectoryCloser> handle(::opendir(directory.c_str()));
    if (!handle) {
        return;
    }
    const int directoryFd = ::dirfd(handle.get());
    std::string key; // reused: no allocation per entry
    while (const dirent* entry = ::readdir(handle.get())) {
        if (entry->d_name[0] == '.') {
            continue; // hidden entries, "." and ".."
        }
        // An entry the directory says is of another kind goes before anything is done with its
        // name: listing the sub-directories of a folder of many fonts folds no font's name.
        const unsigned char wanted = kind == EntryKind::RegularFile ? DT_REG : DT_DIR;
        if (entry->d_type != wanted && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) {
            continue;
        }
        const std::string_view name(entry->d_name);
        key.assign(name);
        text::foldCaseInPlace(key.data(), key.size());
        if (keep(key) && (kind == EntryKind::RegularFile ? isRegularFile(directoryFd, *entry)
                                                         : isDirectory(directoryFd, *entry))) {
            names.push_back(name);
            folded.push_back(key);
        }
    }
}

} // namespace runtime::directory_entries
