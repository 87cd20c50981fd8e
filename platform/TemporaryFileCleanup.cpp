#include "platform/TemporaryFileCleanup.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DirectoryState.h"
#include "platform/TemporaryFilesSeen.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr std::string_view kPrefix = ".quillvane-";
constexpr std::string_view kSuffix = ".tmp";

// Digits only, at least one; the value, or -1 when there are none or too many.
long digitsValue(std::string_view digits) noexcept {
    if (digits.empty() || digits.size() > 9) {
        return -1;
    }
    long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// The register of temporary files being written, read by the signal handlers: fixed memory,
// so that a handler reads it without allocating or locking. An entry is free (0), being
// filled (1) or holds a path (2).
struct Entry {
    std::atomic<int> state{0};
    std::array<char, 4096> path{};
};
static_assert(std::atomic<int>::is_always_lock_free);

std::array<Entry, 32>& entries() noexcept {
    static std::array<Entry, 32> all;
    return all;
}

#ifndef _WIN32

// The signals that end a run and leave its temporary files behind.
constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// How many EndingSignalsHeld live, and the signal that came while one did (0: none).
std::atomic<int> holders{0};
std::atomic<int> deferred{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void onEndingSignal(int signal);

// Async-signal-safe.
void installHandler(int signal) noexcept {
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
}

// Async-signal-safe: atomics and unlink only.
void removeEntered() noexcept {
    for (Entry& entry : entries()) {
        if (entry.state.load() == 2) {
            ::unlink(entry.path.data());
        }
    }
}

extern "C" void onEndingSignal(int signal) {
    const int savedErrno = errno;
    if (holders.load() > 0) {
        // Steps that must not be cut in two run on another thread: the signal is taken when
        // they are done. The handler was reset when it ran; it is needed again.
        deferred.store(signal);
        installHandler(signal);
        errno = savedErrno;
        return;
    }
    removeEntered();
    errno = savedErrno;
    // The handler was reset to the default when it ran (SA_RESETHAND): raised again, the
    // signal ends the process as it would have without us once this handler returns.
    ::raise(signal);
}

bool processExists(long processId) noexcept {
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno != ESRCH;
}

#endif

} // namespace

bool isTemporaryFileName(std::string_view name, long* processId) noexcept {
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view middle =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = middle.find('-');
    if (dash == std::string_view::npos) {
        return false;
    }
    const long pid = digitsValue(middle.substr(0, dash));
    if (pid <= 0 || digitsValue(middle.substr(dash + 1)) < 0) {
        return false;
    }
    if (processId != nullptr) {
        *processId = pid;
    }
    return true;
}

int enterTemporaryFile(const std::string& path) noexcept {
    if (path.size() >= std::tuple_size_v<decltype(Entry::path)>) {
        return -1;
    }
    std::array<Entry, 32>& all = entries();
    for (std::size_t i = 0; i < all.size(); ++i) {
        int expected = 0;
        if (all[i].state.compare_exchange_strong(expected, 1)) {
            std::memcpy(all[i].path.data(), path.c_str(), path.size() + 1);
            all[i].state.store(2);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void leaveTemporaryFile(int entry) noexcept {
    if (entry >= 0) {
        entries()[static_cast<std::size_t>(entry)].state.store(0);
    }
}

#ifndef _WIN32

void removeStaleTemporaryFiles(const std::string& directory) noexcept {
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(
        ::opendir(directory.empty() ? "." : directory.c_str()), &::closedir);
    if (!listing) {
        return;
    }
    const int fd = ::dirfd(listing.get());
    const long self = static_cast<long>(::getpid());
    const auto consider = [&](const char* name) {
        long writer = 0;
        if (!isTemporaryFileName(name, &writer) || writer == self || processExists(writer)) {
            return;
        }
        struct stat info {};
        if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid()) {
            ::unlinkat(fd, name, 0);
        }
    };
    // A listing of the directory that it has not changed since noted its temporary files:
    // those are all there is to look at.
    try {
        if (const std::optional<DirectoryState> now = directoryStateOf(fd)) {
            if (const std::optional<std::vector<std::string>> seen =
                    temporary_files_seen::namesIn(*now)) {
                for (const std::string& name : *seen) {
                    consider(name.c_str());
                }
                return;
            }
        }
    } catch (...) {
        // No memory for a copy of the names: the directory is read instead.
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        consider(entry->d_name);
    }
}

void removeTemporaryFilesOnSignals() noexcept {
    entries(); // made now, not first inside a handler
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        installHandler(signal);
    }
}

EndingSignalsHeld::EndingSignalsHeld() noexcept {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals) {
        sigaddset(&ending, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &ending, &previous_);
    holders.fetch_add(1);
}

EndingSignalsHeld::~EndingSignalsHeld() {
    holders.fetch_sub(1);
    // A signal that waited on this thread is taken as the mask is restored; one that another
    // thread noted is raised again now.
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    if (holders.load() == 0) {
        if (const int signal = deferred.exchange(0); signal != 0) {
            ::raise(signal);
        }
    }
}

#else

void removeStaleTemporaryFiles(const std::string&) noexcept {}

void removeTemporaryFilesOnSignals() noexcept {}

EndingSignalsHeld::EndingSignalsHeld() noexcept = default;

EndingSignalsHeld::~EndingSignalsHeld() = default;

#endif

} // namespace platform
