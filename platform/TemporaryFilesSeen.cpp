#include "platform/TemporaryFilesSeen.h"

#include <mutex>
#include <utility>

namespace platform::temporary_files_seen {

namespace {

struct Seen {
    std::mutex mutex;
    std::optional<DirectoryState> state; // guarded by mutex
    std::vector<std::string> names;      // guarded by mutex
};

Seen& seen() {
    static Seen last;
    return last;
}

} // namespace

void keep(const DirectoryState& before, std::vector<std::string> names) {
    Seen& last = seen();
    const std::lock_guard lock(last.mutex);
    last.state = before;
    last.names = std::move(names);
}

std::optional<std::vector<std::string>> namesIn(const DirectoryState& now) {
    Seen& last = seen();
    const std::lock_guard lock(last.mutex);
    if (last.state != now) {
        return std::nullopt;
    }
    return last.names;
}

} // namespace platform::temporary_files_seen
