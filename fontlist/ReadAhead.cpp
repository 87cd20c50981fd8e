#include "fontlist/ReadAhead.h"

#include "runtime/FileSystem.h"

#include <system_error>
#include <utility>

namespace fontlist {

ReadAhead::ReadAhead(std::vector<std::string> paths, std::size_t window)
    : paths_(std::move(paths)), window_(window) {
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
    stopping_.store(true);
    reached_.store(paths_.size() + window_);
    reached_.notify_all();
}

void ReadAhead::reached(std::size_t position) {
    if (position > reached_.load(std::memory_order_relaxed)) {
        reached_.store(position, std::memory_order_release);
        reached_.notify_one();
    }
}

void ReadAhead::advise() {
    for (std::size_t i = 0; i < paths_.size() && !stopping_.load(); ++i) {
        // Wait until the run is within the window of this file.
        for (std::size_t at = reached_.load(std::memory_order_acquire); i >= at + window_;
             at = reached_.load(std::memory_order_acquire)) {
            reached_.wait(at, std::memory_order_acquire);
        }
        if (!stopping_.load()) {
            runtime::fs::adviseWillNeed(paths_[i]);
        }
    }
}

} // namespace fontlist
