#include "fontlist/ReadAhead.h"
#include "platform/FileSystem.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

// Advice is given for regular files only: a named pipe without a writer, a directory and a
// missing path are passed over at once (opening a pipe for reading would wait for a writer).
TEST(ReadAhead, AdviceIsForRegularFilesAndNeverWaitsOrFails) {
    testsupport::TempDir dir;
#ifndef _WIN32
    const std::string pipe = dir.file("pipe.ttf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    platform::fs::adviseWillNeed(pipe);
#endif
    for (const std::string& path :
         {dir.str(), dir.file("missing.ttf"), dir.write("font.ttf", std::string(10000, 'x'))}) {
        platform::fs::adviseWillNeed(path);
    }
}

// The files advised so far, as the read-ahead's thread hands them over.
class AdviceLog {
public:
    fontlist::ReadAhead::Advice advice() {
        return [this](const std::string& path) {
            const std::scoped_lock lock(mutex_);
            advised_.push_back(path);
            changed_.notify_all();
        };
    }

    // The files advised once count of them are (or after a while, however many there are),
    // and a little longer, so that advice beyond count shows.
    std::vector<std::string> after(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 5s, [&] { return advised_.size() >= count; });
        lock.unlock();
        std::this_thread::sleep_for(30ms);
        lock.lock();
        return advised_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> advised_;
};

std::vector<std::string> numberedPaths(std::size_t count) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i) {
        paths.push_back("font-" + std::to_string(i) + ".ttf");
    }
    return paths;
}

// Files are advised once each, in order, and never more than the window ahead of where the
// run last was; a run that goes back does not take the window back.
TEST(ReadAhead, AdvisesInOrderAndKeepsWithinItsWindow) {
    const std::vector<std::string> paths = numberedPaths(100);
    const auto firstOf = [&paths](std::size_t count) {
        return std::vector<std::string>(paths.begin(), paths.begin() + count);
    };
    AdviceLog log;
    fontlist::ReadAhead ahead(paths, 4, log.advice());
    EXPECT_EQ(log.after(4), firstOf(4));
    ahead.reached(10);
    EXPECT_EQ(log.after(14), firstOf(14));
    ahead.reached(3);
    EXPECT_EQ(log.after(14), firstOf(14));
    ahead.reached(99);
    EXPECT_EQ(log.after(100), paths);
}

// A run that ends early (a failure, a No) ends its read-ahead at once, wherever it was: the
// destructor returns promptly and nothing is advised after it.
TEST(ReadAhead, EndsWithTheRunWhereverTheRunStopped) {
    for (const std::size_t stopAt : {std::size_t{0}, std::size_t{10}, std::size_t{999}}) {
        SCOPED_TRACE(stopAt);
        auto log = std::make_shared<AdviceLog>();
        auto ended = std::make_shared<std::promise<std::size_t>>();
        std::future<std::size_t> advisedAtEnd = ended->get_future();
        // On a thread of its own, so that a destructor that never returns fails the test
        // rather than hanging it.
        std::thread([log, ended, stopAt] {
            {
                fontlist::ReadAhead ahead(numberedPaths(1000), 4, log->advice());
                ahead.reached(stopAt);
                log->after(std::min<std::size_t>(stopAt + 4, 1000));
            }
            ended->set_value(log->after(0).size());
        }).detach();
        ASSERT_EQ(advisedAtEnd.wait_for(10s), std::future_status::ready);
        const std::size_t advised = advisedAtEnd.get();
        EXPECT_EQ(advised, std::min<std::size_t>(stopAt + 4, 1000));
        EXPECT_EQ(log->after(0).size(), advised);
    }
    fontlist::ReadAhead none({}, 16, [](const std::string&) { FAIL() << "nothing to advise"; });
    none.reached(5);
}

} // namespace
