#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Writes a text file line by line; every line ends with CR LF. The lines go to a new file
// beside the target (a hidden name in the same directory), which commit() renames into place:
// a file or a symbolic link at the target's name is replaced as a whole, never written
// through, and until commit() the target stays as it was. A writer dropped without commit()
// removes its new file. Output is buffered; write failures (61 disk full, ...) are raised by
// writeLine, close or commit.
//
// The target is refused up front, before anything is created: a directory or anything else
// that is not a file or a link raises 75, a read-only file (the owner's write bit, which root
// does not bypass) 75, a file this process may not write 70 (such as another user's).
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& targetPath);
    ~TextFileWriter();

    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void writeLine(std::string_view line);
    // Writes what is buffered and closes the new file; raises the failure of the last write.
    // Closing twice does nothing.
    void close();
    // Closes (as above) and puts the new file in place of the target. Committing twice does
    // nothing; a writer whose writes failed refuses with 75.
    void commit();

private:
    void flush();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool committed_ = false;
    bool failed_ = false; // a write failed: the file is incomplete
    std::string buffer_;
};

} // namespace runtime
