// One listing of a directory as the window's file list reads it (the files that match the
// first type filter's patterns, folded, matched and sorted), timed: what the window's start
// in that directory is compared with.
// Run: build/default/bench/quillvane_bench_listing DIR
#include <chrono>
#include <cstdio>

#include "platform/DirectoryListing.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::size_t files = platform::listMatchingFiles(argv[1], "*.ttf;*.pfb").size();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu files listed and sorted in %.3f s\n", files, seconds);
    return 0;
}
