#pragma once

#include <string>

#include "platform/HeldDirectory.h"

// The system calls of a temporary file, one source for each system. Names are in a held
// directory, or paths where there is none.
namespace platform::temporary_file {

long processId();
// Creates a file that must not exist yet; -1 with errno set when that fails.
int createNew(const fs::HeldDirectory* directory, const std::string& name);
// Hands the file's bytes to the device; the errno of the failure, or 0.
int syncFile(int fd);
void removeFile(const fs::HeldDirectory* directory, const std::string& name) noexcept;
// Renames over whatever stands at `to`; raises the failure the system reports.
void rename(const fs::HeldDirectory* directory, const std::string& from, const std::string& to);
// Hands the entries of a held directory to the device.
void syncHeldDirectory(const fs::HeldDirectory& directory);

} // namespace platform::temporary_file
