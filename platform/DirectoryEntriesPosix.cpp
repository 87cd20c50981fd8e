#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/DirectoryEntries.h"
#include "platform/DirectoryReadMemo.h"
#include "platform/DirectoryState.h"
#include "platform/TemporaryFileCleanup.h"
#include "platform/TemporaryFilesSeen.h"
#include "text/Text.h"

namespace platform::directory_entries {

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

// Whether the memo holds the entries of this directory as it is now.
bool memoHolds(const ReadMemo& memo, const std::string& directory, const DirectoryState& now) {
    return memo.filled && memo.path == directory && memo.state == now;
}

// Reads the directory's entries, handing each visible one to consider and keeping it in the
// memo (when there is one). The hidden entries are passed over, but the program's temporary
// files among them are returned, for the sweep of stale ones that may follow.
template <typename Consider>
std::vector<std::string> readEntries(DIR* handle, ReadMemo* memo, const Consider& consider) {
    std::vector<std::string> temporaries;
    while (const dirent* entry = ::readdir(handle)) {
        if (entry->d_name[0] == '.') {
            if (isTemporaryFileName(entry->d_name)) {
                temporaries.emplace_back(entry->d_name);
            }
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
    return temporaries;
}

} // namespace

void visibleEntries(const std::string& directory, EntryKind kind,
                    const std::function<bool(std::string_view)>& keep, text::TextList& names,
                    text::TextList& folded) {
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
    const std::optional<DirectoryState> before = directoryStateOf(directoryFd);
    if (!before) {
        memo = nullptr;
    }
    if (memo != nullptr && memoHolds(*memo, directory, *before)) {
        for (std::size_t i = 0; i < memo->names.size(); ++i) {
            // The memo's texts end in a NUL of their own, for the calls that follow links.
            const std::string_view stored = memo->names[i];
            consider(stored.substr(0, stored.size() - 1), memo->types[i]);
        }
        return;
    }
    if (memo != nullptr) {
        *memo = ReadMemo{.path = directory, .state = *before};
    }
    std::vector<std::string> temporaries = readEntries(handle.get(), memo, consider);
    if (before) {
        temporary_files_seen::keep(*before, std::move(temporaries));
    }
}

} // namespace platform::directory_entries
