#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileIdentity.h"
#include "platform/UniqueFd.h"

namespace platform::fs {

// A directory that a run writes into, held from the moment it is opened: on POSIX systems an
// open descriptor, relative to which files are created, renamed and removed, so that renaming
// the directory away and putting a link to another one in its place sends nothing there. On
// Windows its path, with its identity kept to tell whether the path still leads to it.
class HeldDirectory {
public:
    // Opens the directory the path leads to, links followed. A missing directory raises 76,
    // others as the system reports them (70 no permission, 75 not a directory, ...).
    explicit HeldDirectory(const std::string& path);

    // The directory's path as it was resolved when opened, with a trailing separator: what
    // messages name, never what a write goes through.
    const std::string& path() const noexcept { return path_; }
    // The open descriptor; -1 on Windows.
    int descriptor() const noexcept { return fd_.get(); }
    const FileIdentity& identity() const noexcept { return identity_; }

    // Whether the path it was opened by still leads to this directory (device and inode).
    bool stillAtItsPath() const;

    // The entry of that name in the directory itself (a link there is itself); none when
    // there is nothing of that name.
    std::optional<FileIdentity> entryIdentity(std::string_view name) const;

    // Removes the entry of that name when it is still the file of that identity; anything else
    // there is left. Never throws.
    void removeIf(std::string_view name, const FileIdentity& identity) const noexcept;

    // Hands everything written to the file system that holds the directory to the device, then
    // the directory's own entries; raises the failure the system reports.
    void sync() const;

private:
    std::string path_;
    UniqueFd fd_;
    FileIdentity identity_;
};

} // namespace platform::fs
