#pragma once

#include <string>

#include "platform/UniqueFd.h"

namespace platform {

namespace fs {
class HeldDirectory;
} // namespace fs

// A new file beside the file it is to become, written under a hidden name of its own and
// renamed into place once complete, so that the target's name only ever names a whole file.
// The name is ".quillvane-<process id>-<n>.tmp": the next run in that directory can tell the
// files of a process that has gone (removeStaleTemporaryFiles) from those of one still
// writing. While it exists the file is registered for removal if the process is ended by a
// signal (removeTemporaryFilesOnSignals). Dropped without putInPlace, it is closed and removed.
class TemporaryFile {
public:
    // Creates the file, empty and open for writing, in the directory of target (a path; a bare
    // name means the current directory). A missing directory raises 76, others as the system
    // reports them (70 no permission, 75 a read-only file system, ...).
    explicit TemporaryFile(const std::string& target);
    // The same in a directory held open, which must outlive the file: it is created, renamed
    // and removed relative to that directory, whatever becomes of the directory's path.
    explicit TemporaryFile(const fs::HeldDirectory& directory);
    ~TemporaryFile();

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // The open descriptor to write to; -1 once closed.
    int descriptor() const noexcept { return fd_.get(); }
    const std::string& path() const noexcept { return path_; }

    // Gives the file the permission bits of the regular file it is to replace (and its group,
    // where the running user belongs to it); false, changing nothing, when there is none there
    // (a new file keeps the bits it was made with, as the umask allows). Nothing on Windows.
    bool keepModeOf(const std::string& replaced);
    // Gives the file these permission bits. Nothing on Windows.
    void setMode(unsigned mode);
    // Gives the file the permission bits of a file it replaces, as the caller found them, and
    // that file's group where the running user belongs to it. Only the bits 0777 are kept:
    // set-user-id, set-group-id and sticky bits never pass to a file this process writes,
    // whoever planted them. Nothing on Windows.
    void setModeAndGroup(unsigned mode, unsigned long group);

    // Hands everything written to the device (when durable) and closes the file. Raises the
    // failure of the last write the system reports. Closing twice does nothing.
    void close(bool durable);

    // Renames the closed file to target, replacing what stands there (a link there is replaced,
    // not followed); with durable, the directory's new entry is handed to the device too. From
    // then on the file is the target's and is no longer removed. For a file made in a held
    // directory, target is a name in that directory.
    void putInPlace(const std::string& target, bool durable);

    // Leaves the file where it is, closed: it is no longer removed.
    void abandon() noexcept;

private:
    void create(const std::string& directoryPath);

    const fs::HeldDirectory* directory_ = nullptr; // where name_ is, or none: name_ is a path
    std::string path_;
    std::string name_;
    UniqueFd fd_;
    int slot_ = -1; // its place among the files removed on a signal, or -1
};

// The directory part of a path with its separator ("dir/" for "dir/file", "/" for "/file"),
// or nothing for a bare name.
std::string directoryPartOf(const std::string& path);

// Hands a directory's entries to the device (after files were renamed into it); raises the
// failure the system reports. Nothing on Windows, whose file system commits renames itself.
void syncDirectory(const std::string& directory);

} // namespace platform
