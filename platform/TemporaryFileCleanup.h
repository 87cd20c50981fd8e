#pragma once

#include <string>
#include <string_view>

#ifndef _WIN32
#include <csignal>
#endif

// Keeping the program's temporary files from outliving it.
namespace platform {

// Whether a file name is one of the program's temporary files (".quillvane-<pid>-<n>.tmp"),
// and the process id it names.
bool isTemporaryFileName(std::string_view name, long* processId = nullptr) noexcept;

// Removes from a directory the temporary files that processes which no longer exist left
// behind (a run that was killed): only regular files of this user under the program's own
// names, never a file of a process that still runs. Anything that cannot be read or removed
// is left. Nothing on Windows. Never throws.
void removeStaleTemporaryFiles(const std::string& directory) noexcept;

// Installs handlers for SIGINT, SIGTERM, SIGHUP and SIGQUIT that remove the temporary files this
// process is writing, then end the process as the signal would have. A signal that is
// ignored (nohup) stays ignored. Nothing on Windows.
void removeTemporaryFilesOnSignals() noexcept;

// The register the handlers read: TemporaryFile enters a path before it creates the file
// and leaves it once the file is renamed or removed. Returns the entry, or -1 when the path
// cannot be entered (too long, or every entry in use); the file is then removed as usual
// but not on a signal.
int enterTemporaryFile(const std::string& path) noexcept;
void leaveTemporaryFile(int entry) noexcept;

// While it lives, an ending signal (those the handlers above handle) waits: on the thread
// that made it, the signals are blocked; on any other thread, the handler notes the signal and
// returns. When it goes, a signal that came meanwhile is taken, and ends the process as usual.
// For steps that must not be cut in two, such as putting two files in place together. Nothing
// on Windows, where the console's ending events do not reach these steps' thread.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() noexcept;
    ~EndingSignalsHeld();

    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
#ifndef _WIN32
    sigset_t previous_{};
#endif
};

} // namespace platform
