#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Writes a text file line by line; every line ends with CR LF. The file is created anew,
// replacing one of the same name. Output is buffered; write failures (61 disk full, ...) are
// raised by writeLine or close. The destructor closes a file left open, ignoring failures.
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& utf8Path);
    ~TextFileWriter();

    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void writeLine(std::string_view line);
    // Flushes and closes; raises the failure of the last write. Closing twice does nothing.
    void close();

private:
    void flush();

    int fd_ = -1;
    std::string buffer_;
};

} // namespace runtime
