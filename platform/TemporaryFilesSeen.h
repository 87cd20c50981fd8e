#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/DirectoryState.h"

// What the last read of a directory saw of the program's temporary files, so that the sweep
// of stale ones that follows a listing of the same directory need not read it again.
namespace platform::temporary_files_seen {

// Keeps the temporary-file names a whole read of a directory found (the directory's state
// taken before the read), in place of what an earlier read kept.
void keep(const DirectoryState& before, std::vector<std::string> names);

// The names kept for the directory, if it is the one last read and unchanged since.
std::optional<std::vector<std::string>> namesIn(const DirectoryState& now);

} // namespace platform::temporary_files_seen
