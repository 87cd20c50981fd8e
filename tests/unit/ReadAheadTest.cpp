#include "fontlist/ReadAhead.h"
#include "runtime/FileSystem.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

// Advice is given for regular files only: a named pipe without a writer, a directory and a
// missing path are passed over at once (opening a pipe for reading would wait for a writer).
TEST(ReadAhead, AdviceIsForRegularFilesAndNeverWaitsOrFails) {
    testsupport::TempDir dir;
#ifndef _WIN32
    const std::string pipe = dir.file("pipe.ttf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    runtime::fs::adviseWillNeed(pipe);
#endif
    for (const std::string& path :
         {dir.str(), dir.file("missing.ttf"), dir.write("font.ttf", std::string(10000, 'x'))}) {
        runtime::fs::adviseWillNeed(path);
    }
}

// A run that ends early (a failure, a No) ends its read-ahead at once, wherever it was.
TEST(ReadAhead, EndsWithTheRunWhereverTheRunStopped) {
    testsupport::TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 1000; ++i) {
        paths.push_back(dir.file("missing-" + std::to_string(i) + ".ttf"));
    }
    for (const std::size_t stopAt : {std::size_t{0}, std::size_t{10}, std::size_t{999}}) {
        fontlist::ReadAhead ahead(paths, 4);
        ahead.reached(stopAt);
    }
    fontlist::ReadAhead none({}, 16);
    none.reached(5);
}

} // namespace
