#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "runtime/DirectoryEntries.h"
#include "runtime/DirectoryReadMemo.h"
#include "runtime/Text.h"

namespace runtime::directory_entries {

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// Whether an entry is of a type (DT_REG with S_IFREG, DT_DIR with S_IFDIR); a link, or an entry
// whose type the file system does not tell, is followed.
bool isOfType(int directoryFd, const char* name, unsigned char entryType, unsigned char type,
              mode_t mode) {
    if (entryType == type) {
        return true;
    }
    if (entryType != DT_LNK && entryType != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return ::fstatat(directoryFd, name, &info, 0) == 0 && (info.st_mode & S_IFMT) == mode;
}

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// Whether the memo holds the entries of this directory as it is now.
bool memoHolds(const ReadMemo& memo, const std::string& directory, const struct stat& info) {
    return memo.filled && memo.path == directory && memo.device == info.st_dev &&
           memo.inode == info.st_ino && memo.modifiedNs == nanoseconds(info.st_mtim) &&
           memo.changedNs == nanoseconds(info.st_ctim);
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
    const unsigned char wanted = kind == EntryKind::RegularFile ? DT_REG : DT_DIR;
    const mode_t wantedMode = kind == EntryKind::RegularFile ? S_IFREG : S_IFDIR;
    std::string key; // reused: no allocation per entry
    const auto consider = [&](std::string_view name, unsigned char type) {
        // An entry the directory says is of another kind goes before anything is done with its
        // name: listing the sub-directories of a folder of many fonts folds no font's name.
        if (type != wanted && type != DT_LNK && type != DT_UNKNOWN) {
            return;
        }
        key.assign(name);
        text::foldCaseInPlace(key.data(), key.size());
        if (keep(key) && isOfType(directoryFd, name.data(), type, wanted, wantedMode)) {
            names.push_back(name);
            folded.push_back(key);
        }
    };

    ReadMemo* memo = activeReadMemo();
    struct stat info {};
    if (memo != nullptr && ::fstat(directoryFd, &info) != 0) {
        memo = nullptr;
    }
    if (memo != nullptr && memoHolds(*memo, directory, info)) {
        for (std::size_t i = 0; i < memo->names.size(); ++i) {
            // The memo's texts end in a NUL of their own, for the calls that follow links.
            const std::string_view stored = memo->names[i];
            consider(stored.substr(0, stored.size() - 1), memo->types[i]);
        }
        return;
    }
    if (memo != nullptr) {
        *memo = ReadMemo{.path = directory,
                         .device = info.st_dev,
                         .inode = info.st_ino,
                         .modifiedNs = nanoseconds(info.st_mtim),
                         .changedNs = nanoseconds(info.st_ctim)};
    }
    while (const dirent* entry = ::readdir(handle.get())) {
        if (entry->d_name[0] == '.') {
            continue; // hidden entries, "." and ".."
        }
        const std::string_view name(entry->d_name);
        if (memo != nullptr) {
            memo->names.push_back(std::string_view(entry->d_name, name.size() + 1));
            memo->types.push_back(entry->d_type);
        }
        consider(name, entry->d_type);
    }
    if (memo != nullptr) {
        memo->filled = true;
    }
}

} // namespace runtime::directory_entries
