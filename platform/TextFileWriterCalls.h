#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the text writer asks of the system at its target, one source for each system.
namespace platform::text_file_writer {

// Writes some of the bytes; the count written, or -1 with errno set.
long writeSome(int fd, const char* data, std::size_t length);
// Asks the system to start writing the given bytes of the file to its device without waiting
// for them, so that the sync that closes a long file has little left to wait for. Nothing
// where the system has no such request; never fails.
void startWritingOut(int fd, std::uint64_t offset, std::uint64_t length) noexcept;
// Raises the failure for a target that must not be replaced by a text file; returns when
// nothing is there or when it may be replaced.
void refuseTarget(const std::string& target);
bool exists(const std::string& target);
// Keeps the file at target under the name of the (closed) temporary file `into`.
void keepCopy(const std::string& target, const std::string& into);
void removeNewFile(const std::string& target);

} // namespace platform::text_file_writer
