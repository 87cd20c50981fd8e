#include "fontlist/ReadAhead.h"

#include "platform/FileSystem.h"

#include <system_error>
#include <utility>

namespace fontlist {

ReadAhead::ReadAhead(std::vector<std::string> paths, std::size_t window, Advice advice)
    : paths_(std::move(paths)), window_(window), advice_(std::move(advice)) {
    if (!advice_) {
        advice_ = platform::fs::adviseWillNeed;
    }
    if (paths_.empty() || window_ == 0) {
        return;
    }
    try {
        worker_ = std::jthread([this] { advise(); });
    } catch (const std::system_error&) {
        // No thread to spare: the run reads its files as they come, as it would anyway.
    }
}

ReadAhead::~ReadAhead() {
    {
        const std::scoped_lock lock(mutex_);
        stopping_ = true;
    }
    moved_.notify_all();
}

void ReadAhead::reached(std::size_t position) {
    {
        const std::scoped_lock lock(mutex_);
        if (position <= reached_) {
            return;
        }
        reached_ = position;
    }
    moved_.notify_one();
}

void ReadAhead::advise() {
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        {
            // Wait until the run is within the window of this file.
            std::unique_lock lock(mutex_);
            moved_.wait(lock, [&] { return stopping_ || i < reached_ + window_; });
            if (stopping_) {
                return;
            }
        }
        advice_(paths_[i]);
    }
}

} // namespace fontlist
