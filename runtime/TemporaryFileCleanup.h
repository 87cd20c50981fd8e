#pragma once

#include <string>
#include <string_view>

// Keeping the program's temporary files from outliving it.
namespace runtime {

// Whether a file name is one of the program's temporary files (".quillvane-<pid>-<n>.tmp"),
// and the process id it names.
bool isTemporaryFileName(std::string_view name, long* processId = nullptr) noexcept;

// Removes from a directory the temporary files that processes which no longer exist left
// behind (a run that was killed): only regular files of this user under the program's own
// names, never a file of a process that still runs. Anything that cannot be read or removed
// is left. Nothing on Windows. Never throws.
void removeStaleTemporaryFiles(const std::string& directory) noexcept;

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the temporary files this
// process is writing, then end the process as the signal would have. A signal that is
// ignored (nohup) stays ignored. Nothing on Windows.
void removeTemporaryFilesOnSignals() noexcept;

// The register the handlers read: TemporaryFile enters a path before it creates the file
// and leaves it once the file is renamed or removed. Returns the entry, or -1 when the path
// cannot be entered (too long, or every entry in use); the file is then removed as usual
// but not on a signal.
int enterTemporaryFile(const std::string& path) noexcept;
void leaveTemporaryFile(int entry) noexcept;

} // namespace runtime
