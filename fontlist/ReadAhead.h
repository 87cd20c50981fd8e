#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fontlist {

// Asks the system, on a thread of its own, to start reading files a little ahead of where a
// run is working, so that on a cold cache the device reads the next fonts while the run copies
// this one. It only advises: nothing is read into this process, no failure is raised, and a
// file that cannot be opened is passed over. At most `window` files ahead of the position
// last reached are advised.
class ReadAhead {
public:
    // How a file is advised; platform::fs::adviseWillNeed but in tests.
    using Advice = std::function<void(const std::string& path)>;

    ReadAhead(std::vector<std::string> paths, std::size_t window, Advice advice = {});
    ~ReadAhead();

    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The run is now working on paths[position].
    void reached(std::size_t position);

private:
    void advise();

    std::vector<std::string> paths_;
    std::size_t window_;
    Advice advice_;
    std::mutex mutex_;
    std::condition_variable moved_; // reached_ or stopping_ changed
    std::size_t reached_ = 0;       // guarded by mutex_
    bool stopping_ = false;         // guarded by mutex_
    std::jthread worker_;           // last: it starts when everything it uses is there
};

} // namespace fontlist
