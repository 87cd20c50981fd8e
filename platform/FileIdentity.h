#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

namespace platform::fs {

// What tells a file apart from every other however it is reached, through any link or name:
// its device and inode (on Windows, its volume and file index).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileIdentityHash {
    std::size_t operator()(const FileIdentity& identity) const noexcept {
        return std::hash<std::uint64_t>{}(identity.inode * 31 + identity.device);
    }
};

// The file a path leads to, links followed; none when there is nothing there.
std::optional<FileIdentity> identityOf(const std::string& path);
// The entry at the path itself: a symbolic link there is itself, not what it points to.
std::optional<FileIdentity> entryIdentityOf(const std::string& path);

// The files a run reads, which none of its writes may land on.
class ProtectedFiles {
public:
    // Protects what the path leads to and the entry at the path itself (a link among the
    // listed files is not replaced either). A path that does not exist adds nothing.
    void add(const std::string& path);
    // Whether a write at the path would land on a protected file: the entry there (the name
    // that a rename replaces) is one of them.
    bool holdsEntryAt(const std::string& path) const;
    bool holds(const FileIdentity& identity) const { return files_.contains(identity); }
    bool empty() const noexcept { return files_.empty(); }

private:
    std::unordered_set<FileIdentity, FileIdentityHash> files_;
};

} // namespace platform::fs
