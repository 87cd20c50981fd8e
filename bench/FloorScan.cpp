// The floor for reading a directory of fonts: list the directory, and for each entry open the
// file, read its first 4 KiB, read 4 KiB at the `name` table of a TrueType file whose table
// lies past them (the name bytes; the table directory is all that is looked at to find them),
// and close it. Nothing is sorted or written; no program that reads a name out of every file
// can do less.
// Run: build/default/bench/quillvane_bench_floor DIR
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

std::uint32_t bigEndian(const unsigned char* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = (value << 8) | at[i];
    }
    return value;
}

// Where the `name` table starts by the table directory in the first bytes, or 0.
std::uint32_t nameTableAt(const unsigned char* head, std::size_t got) {
    if (got < 12) {
        return 0;
    }
    const std::uint32_t tables = bigEndian(head + 4, 2);
    for (std::uint32_t t = 0; t < tables && 12 + 16 * (t + 1) <= got; ++t) {
        const unsigned char* entry = head + 12 + 16 * t;
        if (std::memcmp(entry, "name", 4) == 0) {
            return bigEndian(entry + 8, 4);
        }
    }
    return 0;
}

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
    std::array<unsigned char, 4096> buffer{};
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
        ssize_t got = ::pread(fd, buffer.data(), buffer.size(), 0);
        bytes += got > 0 ? static_cast<unsigned long>(got) : 0;
        const std::uint32_t nameAt =
            got > 0 ? nameTableAt(buffer.data(), static_cast<std::size_t>(got)) : 0;
        if (nameAt >= buffer.size()) {
            got = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(nameAt));
            bytes += got > 0 ? static_cast<unsigned long>(got) : 0;
        }
        ::close(fd);
        ++files;
    }
    std::printf("%lu files, %lu bytes read\n", files, bytes);
    return 0;
}
