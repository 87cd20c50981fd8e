#pragma once

#include <string>

// The system calls of a temporary file, one source for each system.
namespace runtime::temporary_file {

long processId();
// Creates a file that must not exist yet; -1 with errno set when that fails.
int createNew(const std::string& path);
// Hands the file's bytes to the device; the errno of the failure, or 0.
int syncFile(int fd);
void removeFile(const std::string& path) noexcept;
// Renames over whatever stands at `to`; raises the failure the system reports.
void rename(const std::string& from, const std::string& to);

} // namespace runtime::temporary_file
