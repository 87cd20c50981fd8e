#pragma once

#include <cstdint>
#include <string>

#include "platform/Failure.h"
#include "platform/FileIdentity.h"
#include "platform/HeldDirectory.h"

// File-system services. Paths are UTF-8. Every failure is a platform::Failure.
namespace platform::fs {

struct Attributes {
    bool directory = false;
    bool readOnly = false; // no write permission bit for the owner; on Windows the attribute
};

// A failure that concerns the file copied from (it could not be opened or read, or it changed
// while it was copied), as against one that concerns the copy's destination (a full disk, a
// folder that may not be written): a run can pass over that one file and go on.
class SourceFailure : public Failure {
public:
    explicit SourceFailure(const Failure& failure) : Failure(failure) {}
};

// A file's or directory's attributes; also the existence test: a missing path raises 53.
Attributes fileAttributes(const std::string& path);

// A file's length in bytes. A missing file raises 53.
std::uint64_t fileLength(const std::string& path);

// Creates one directory. One that exists already (or any file of that name) raises 75, a
// missing parent 76, no permission 70.
void createDirectory(const std::string& path);

// What became of a copy.
enum class CopyResult {
    Copied,
    SameFile,      // the target is the source itself, which holds its bytes already
    TargetGuarded, // the file at the target's name is one of the protected files: not touched
};

// Copies a file to a path, replacing a file there. A missing source raises 53; a read-only
// target raises 75 and is left untouched (checked before anything is written, so the same
// holds for root); a full disk raises 61. The copy is written under a temporary name in the
// target's directory and renamed into place, so a failed copy never leaves a partial file
// under the target name; a link at the target's name is replaced, never written through.
// The copy gets the permission bits of the file it replaces, or the source's for a new one.
//
// Only a regular file is copied, and only as many bytes as it had when it was opened: a file
// on a file system whose sizes are not real (/proc, /sys) or one that yields more than its
// size raises 75 with that cause, so that no source can fill the disk. The copy is not handed
// to the device here (HeldDirectory::sync does it for a whole run at once) unless durable.
//
// Every failure that concerns the source is a SourceFailure: it cannot be opened or read, it
// is no regular file, or it changed while it was copied (it gave fewer bytes than its size at
// open, or its size, time of writing or the file at its path differ afterwards), in which case
// nothing is put in place.
CopyResult copyFile(const std::string& source, const std::string& target,
                    const ProtectedFiles* guarded = nullptr, bool durable = false);

// The same into a directory held open, under a name there: the copy is created and renamed
// relative to the directory, never through its path. When made is given, it receives the
// identity of the copy put in place.
CopyResult copyFile(const std::string& source, const HeldDirectory& directory,
                    const std::string& name, const ProtectedFiles* guarded = nullptr,
                    bool durable = false, FileIdentity* made = nullptr);

// For tests: a step that every copy takes after it has opened and measured its source and
// before it copies the bytes (a test truncates the source there). None by default; null
// removes it.
void setStepBeforeCopyingBytes(void (*step)(const std::string& source)) noexcept;

// The absolute path with every symbolic link, "." and ".." resolved; the path as given when it
// cannot be resolved (a path that does not exist, say). Never throws a Failure.
std::string realPath(const std::string& path);

// Tells the system that a regular file's contents will soon be read, so that it starts
// reading them from the device now. Only advice: nothing happens for anything that is not a
// regular file, that cannot be opened, or on a system without such advice. Never throws.
void adviseWillNeed(const std::string& path) noexcept;

// Raises the failure that opening the directory for listing gives (76 missing, 70 no
// permission, 75 not a directory, ...); returns when it can be listed.
void requireListableDirectory(const std::string& path);

} // namespace platform::fs
