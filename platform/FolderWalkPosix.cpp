#include "platform/FolderWalk.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DirectoryListing.h"
#include "platform/FileIdentity.h"
#include "platform/FileIdentityOfStat.h"
#include "platform/PathText.h"
#include "platform/UniqueFd.h"
#include "text/Text.h"

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// Out of descriptors (a very deep tree holds one per level): the soft limit is raised to the
// hard one, once in the program's life.
bool raiseDescriptorLimitOnce() {
    static std::atomic<bool> raised{false};
    if (raised.exchange(true)) {
        return false;
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) {
        return false;
    }
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

// Opens a folder relative to its parent (parent AT_FDCWD: a path); a link there is opened only
// when links are followed. -1 with errno set when that fails.
int openFolder(int parent, const char* name, bool followLinks) {
    const int flags = kFolderFlags | (followLinks ? 0 : O_NOFOLLOW);
    for (;;) {
        const int fd = ::openat(parent, name, flags);
        if (fd >= 0 || (errno != EINTR && !(errno == EMFILE && raiseDescriptorLimitOnce()))) {
            return fd;
        }
    }
}

enum class EntryKind { Other, File, Folder };

// What an entry the directory calls a link, or does not type, is: a link to a regular file is
// a file (as the file list takes it), a link to a folder a folder only where links are followed.
EntryKind kindOfUntyped(int folder, const char* name, unsigned char type, bool followLinks) {
    struct stat info {};
    if (type == DT_UNKNOWN) {
        if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            return EntryKind::Other;
        }
        if (!S_ISLNK(info.st_mode)) {
            return S_ISREG(info.st_mode)   ? EntryKind::File
                   : S_ISDIR(info.st_mode) ? EntryKind::Folder
                                           : EntryKind::Other;
        }
    }
    if (::fstatat(folder, name, &info, 0) != 0) {
        return EntryKind::Other;
    }
    if (S_ISREG(info.st_mode)) {
        return EntryKind::File;
    }
    return S_ISDIR(info.st_mode) && followLinks ? EntryKind::Folder : EntryKind::Other;
}

// A folder's visible entries: its files that match the patterns, and its sub-folders.
struct FolderEntries {
    text::TextList files;
    text::TextList folders;
};

// Reads the entries of the open folder, each list in the file list's order; the errno value
// of a read that failed, else 0. A FIFO or a device is never taken, so never opened.
int readEntries(int folder, const FilePatterns& patterns, bool followLinks, FolderEntries& out) {
    UniqueFd copy(::fcntl(folder, F_DUPFD_CLOEXEC, 0)); // the stream takes it over
    if (!copy.valid()) {
        return errno;
    }
    const std::unique_ptr<DIR, DirectoryCloser> stream(::fdopendir(copy.get()));
    if (!stream) {
        return errno;
    }
    copy.release();
    text::TextList files;
    text::TextList filesFolded;
    text::TextList folders;
    text::TextList foldersFolded;
    std::string key; // reused: no allocation per entry
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream.get());
        if (entry == nullptr) {
            break;
        }
        const unsigned char type = entry->d_type;
        if (entry->d_name[0] == '.' ||
            (type != DT_REG && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN)) {
            continue; // hidden entries, "." and "..", pipes, devices and sockets
        }
        const std::string_view name(entry->d_name);
        key.assign(name);
        text::foldCaseInPlace(key.data(), key.size());
        const bool matches = type != DT_DIR && patterns.matchFolded(key);
        if (type == DT_LNK && !matches && !followLinks) {
            continue;
        }
        const EntryKind kind = type == DT_REG ? EntryKind::File
                               : type == DT_DIR
                                   ? EntryKind::Folder
                                   : kindOfUntyped(folder, entry->d_name, type, followLinks);
        if (kind == EntryKind::File && matches) {
            files.push_back(name);
            filesFolded.push_back(key);
        } else if (kind == EntryKind::Folder) {
            folders.push_back(name);
            foldersFolded.push_back(key);
        }
    }
    if (errno != 0) {
        return errno;
    }
    out.files = inFileListOrder(files, filesFolded);
    out.folders = inFileListOrder(folders, foldersFolded);
    return 0;
}

// A folder's path as messages name it: without its trailing separator, but for a root.
std::string shown(std::string_view path) {
    if (path.size() > 1 && path.back() == path::separator) {
        path.remove_suffix(1);
    }
    return std::string(path);
}

std::string causeOf(int error) {
    return std::system_category().message(error);
}

// A walk in progress: the folders from the top down to the one in hand, each held open with
// the sub-folders it has yet to walk.
class Walk {
public:
    Walk(const std::string& top, std::string_view patterns, const WalkOptions& options,
         FolderVisitor& visitor)
        : path_(path::withTrailingSeparator(top.empty() ? "." : top)), topLength_(path_.size()),
          patterns_(patterns), options_(options), visitor_(visitor) {}

    bool run(const std::string& top) {
        // The top is the user's own: a link given as the top is walked.
        UniqueFd fd(openFolder(AT_FDCWD, top.empty() ? "." : top.c_str(), true));
        if (!fd.valid()) {
            tell(causeOf(errno), true);
            return false;
        }
        enter(std::move(fd));
        while (!levels_.empty()) {
            Level& level = levels_.back();
            if (level.next == level.folders.size()) {
                levels_.pop_back();
                continue;
            }
            const std::string name(level.folders[level.next++]);
            path_.resize(level.pathLength);
            path_ += name;
            path_ += path::separator;
            fd = UniqueFd(openFolder(level.directory.fd(), name.c_str(), options_.followLinks));
            if (!fd.valid()) {
                tell(causeOf(errno), true);
                continue;
            }
            enter(std::move(fd));
        }
        return complete_;
    }

private:
    struct Level {
        ListingDirectory directory;
        text::TextList folders; // its sub-folders, the walk's next at next
        std::size_t next = 0;
        std::size_t pathLength = 0; // of its path, with the trailing separator
    };

    void tell(std::string cause, bool lost) {
        complete_ = complete_ && !lost;
        visitor_.trouble(WalkTrouble{shown(path_), std::move(cause), lost});
    }

    // Whether the folder open as fd, at path_, is walked: not on another file system where the
    // walk stays on one, not one walked already where links are followed.
    bool walkedHere(int fd) {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            tell(causeOf(errno), true);
            return false;
        }
        const fs::FileIdentity identity = fs::identityFrom(info);
        if (levels_.empty()) {
            topDevice_ = identity.device;
        } else if (options_.oneFileSystem && identity.device != topDevice_) {
            return false; // passed over without a word, as find -xdev does
        }
        if (options_.followLinks) {
            const auto [walked, first] = walked_.try_emplace(identity, shown(path_));
            if (!first) {
                tell("leads back to a folder already walked ('" + walked->second +
                         "'); not walked again",
                     false);
                return false;
            }
        }
        return true;
    }

    // Reads the folder open as fd, at path_, visits it, and makes it the level whose
    // sub-folders come next.
    void enter(UniqueFd fd) {
        if (!walkedHere(fd.get())) {
            return;
        }
        FolderEntries entries;
        if (const int error = readEntries(fd.get(), patterns_, options_.followLinks, entries)) {
            tell(causeOf(error), true);
            return;
        }
        levels_.push_back(
            Level{ListingDirectory(std::move(fd)), std::move(entries.folders), 0, path_.size()});
        const std::string_view relative = std::string_view(path_).substr(topLength_);
        visitor_.visit(WalkedFolder{levels_.back().directory, path_, relative, entries.files});
    }

    std::string path_; // of the folder in hand, with a trailing separator
    std::size_t topLength_;
    FilePatterns patterns_;
    WalkOptions options_;
    FolderVisitor& visitor_;
    std::vector<Level> levels_;
    std::uint64_t topDevice_ = 0;
    // With links followed: every folder walked, by identity, with its path.
    std::unordered_map<fs::FileIdentity, std::string, fs::FileIdentityHash> walked_;
    bool complete_ = true;
};

} // namespace

bool walkFolders(const std::string& top, std::string_view patterns, const WalkOptions& options,
                 FolderVisitor& visitor) {
    Walk walk(top, patterns, options, visitor);
    return walk.run(top);
}

} // namespace platform
