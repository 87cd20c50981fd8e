#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TemporaryFile.h"

namespace platform {

// Writes a text file line by line; every line ends with CR LF. The lines go to a temporary file
// beside the target, which commit() hands to the device and renames into place: a file or a
// symbolic link at the target's name is replaced as a whole, never written through, and until
// commit() the target stays as it was. The new file keeps the permission bits (and, where the
// system allows, the group) of the file it replaces. A writer dropped without commit() removes
// its new file. Output is buffered; write failures (61 disk full, ...) are raised by writeLine,
// close or commit.
//
// The target is refused up front, before anything is created, and again just before it is
// replaced: a directory or anything else that is not a file or a link raises 75, a read-only
// file (the owner's write bit, which root does not bypass) 75, a file this process may not
// write or replace 70 (another user's, or one the sticky bit of its directory keeps).
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& targetPath);
    ~TextFileWriter();

    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void writeLine(std::string_view line);
    // Writes what is buffered, hands it to the device and closes the new file; raises the
    // failure of the last write. Closing twice does nothing.
    void close();
    // Closes (as above) and checks that the target may be replaced, without replacing it.
    void prepare();
    // Prepares and puts the new file in place of the target. Committing twice does nothing; a
    // writer whose writes failed refuses with 75.
    void commit();
    // The same, keeping the file it replaces (under a temporary name beside it) until the
    // writer goes, so that undo() can put it back: for a pair of files that are replaced
    // together or not at all.
    void commitUndoably();
    // After commitUndoably: puts the earlier file back, or removes the new one where there was
    // none. Raises the failure of the rename.
    void undo();

private:
    void flush();
    void putInPlace();

    std::string target_;
    TemporaryFile file_;
    bool committed_ = false;
    bool failed_ = false; // a write failed: the file is incomplete
    std::string buffer_;
    std::uint64_t written_ = 0;              // bytes handed to the system
    std::uint64_t writtenOut_ = 0;           // of them, those the system was asked to write out
    std::unique_ptr<TemporaryFile> earlier_; // the replaced file, kept until undo or the end
    bool hadEarlier_ = false;
};

} // namespace platform
