#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The system calls of the font file reader, one source for each system.
namespace platform::font_file_reader {

// Opens an existing file for reading, never creating one; -1 with errno set when that fails.
int openForReading(const std::string& utf8Path);
// The same for the file name in the directory held open as directoryFd, where the system opens
// files relative to a directory; by utf8Path (the same file) where it does not, or for a
// directoryFd of -1.
int openForReadingIn(int directoryFd, const char* name, const std::string& utf8Path);
// A directory held open for openForReadingIn; -1 where that cannot be done.
int openDirectory(const std::string& utf8Path);
// Another descriptor for the directory held open as directoryFd; -1 where there is none.
int duplicateDirectory(int directoryFd);
// Whether the open file is a regular file, with its size.
bool isRegularFile(int fd, std::uint64_t& size);
// Reads up to length bytes at offset; the number read, short only at the end of the file.
std::size_t readAt(int fd, std::uint64_t offset, std::uint8_t* into, std::size_t length);

} // namespace platform::font_file_reader
