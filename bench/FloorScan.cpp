// The floor for reading a directory of fonts: list the directory, and for each entry open the
// file, read its first 4 KiB, read 4 KiB at the `name` table of a TrueType file whose table
// lies past them (the name bytes; the table directory is all that is looked at to find them),
// and close it. Nothing is sorted or written; no program that reads a name out of every file
// can do less.
// Run: build/default/bench/quillvane_bench_floor DIR
#include "FloorRead.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(argv[1]));
    if (!directory) {
        std::perror(argv[1]);
        return 1;
    }
    const int directoryFd = ::dirfd(directory.get());
    bench::FloorBuffer buffer{};
    unsigned long files = 0;
    unsigned long bytes = 0;
    while (const dirent* entry = ::readdir(directory.get())) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const int fd = ::openat(directoryFd, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        bytes += bench::readHeadAndName(fd, buffer);
        ::close(fd);
        ++files;
    }
    std::printf("%lu files, %lu bytes read\n", files, bytes);
    return 0;
}
