// The floor for reading a tree of fonts: walk DIR depth first, each folder opened relative to
// its parent and its entries read once; in each folder open every .ttf and .pfb file relative
// to the folder, read its first 4 KiB and the name bytes (FloorRead.h), and close it; then go
// down into its sub-folders (hidden ones left out, links not followed). Nothing is sorted or
// written: no program that walks a tree and reads a name out of every font can do less.
// With THREADS, the files of each folder are read by that many threads (this one among them),
// so that the floor can be set beside a program reading on as many.
// Run: build/default/bench/quillvane_bench_treefloor DIR [THREADS]
#include "FloorRead.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

bool isFontName(const char* name) {
    const std::size_t length = std::strlen(name);
    if (length < 4 || name[length - 4] != '.') {
        return false;
    }
    char extension[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = name[length - 3 + i];
        extension[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return std::memcmp(extension, "ttf", 3) == 0 || std::memcmp(extension, "pfb", 3) == 0;
}

// The font files of one folder, their names back to back, each ended by a zero.
struct FolderFiles {
    int folder = -1;
    std::string names;
    std::vector<std::size_t> starts;

    void clear() {
        names.clear();
        starts.clear();
    }
    void add(const char* name) {
        starts.push_back(names.size());
        names.append(name);
        names.push_back('\0');
    }
};

struct Totals {
    unsigned long files = 0;
    unsigned long folders = 0;
    unsigned long bytes = 0;
};

// Reads the files of one folder at a time on a number of threads, the caller's among them.
class Readers {
public:
    explicit Readers(unsigned threads) : start_(threads), done_(threads) {
        for (unsigned i = 1; i < threads; ++i) {
            workers_.emplace_back([this] { work(); });
        }
    }
    ~Readers() {
        stopping_ = true;
        start_.arrive_and_wait();
    }
    Readers(const Readers&) = delete;
    Readers& operator=(const Readers&) = delete;

    void read(const FolderFiles& files, Totals& totals) {
        files_ = &files;
        next_ = 0;
        if (!workers_.empty()) {
            start_.arrive_and_wait();
        }
        share();
        if (!workers_.empty()) {
            done_.arrive_and_wait();
        }
        totals.files += opened_.exchange(0);
        totals.bytes += bytes_.exchange(0);
    }

private:
    void work() {
        for (;;) {
            start_.arrive_and_wait();
            if (stopping_) {
                return;
            }
            share();
            done_.arrive_and_wait();
        }
    }
    // Takes the folder's files one by one until none is left.
    void share() {
        bench::FloorBuffer buffer{};
        unsigned long opened = 0;
        unsigned long bytes = 0;
        const std::size_t count = files_->starts.size();
        for (std::size_t i = next_++; i < count; i = next_++) {
            const char* name = files_->names.data() + files_->starts[i];
            const int fd = ::openat(files_->folder, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (fd < 0) {
                continue;
            }
            bytes += bench::readHeadAndName(fd, buffer);
            ::close(fd);
            ++opened;
        }
        opened_ += opened;
        bytes_ += bytes;
    }

    std::barrier<> start_;
    std::barrier<> done_;
    std::vector<std::jthread> workers_;
    const FolderFiles* files_ = nullptr;
    std::atomic<std::size_t> next_{0};
    std::atomic<unsigned long> opened_{0};
    std::atomic<unsigned long> bytes_{0};
    bool stopping_ = false;
};

// What an entry is: a folder, a regular file, or neither; a link is looked through for files
// only, so that links to folders are not walked.
unsigned char kindOf(int folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return entry.d_type;
    }
    struct stat status {};
    const int flags = entry.d_type == DT_LNK ? 0 : AT_SYMLINK_NOFOLLOW;
    if (::fstatat(folder, entry.d_name, &status, flags) != 0) {
        return DT_UNKNOWN;
    }
    if (S_ISREG(status.st_mode)) {
        return DT_REG;
    }
    return S_ISDIR(status.st_mode) && entry.d_type != DT_LNK ? DT_DIR : DT_UNKNOWN;
}

// Walks the open folder (taking it over) and everything below it.
void walk(int folder, FolderFiles& files, Readers& readers, Totals& totals) {
    const std::unique_ptr<DIR, DirectoryCloser> directory(::fdopendir(folder));
    if (!directory) {
        ::close(folder);
        return;
    }
    ++totals.folders;
    files.clear();
    files.folder = folder;
    std::vector<std::string> subFolders;
    while (const dirent* entry = ::readdir(directory.get())) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const unsigned char kind = kindOf(folder, *entry);
        if (kind == DT_DIR) {
            subFolders.emplace_back(entry->d_name);
        } else if (kind == DT_REG && isFontName(entry->d_name)) {
            files.add(entry->d_name);
        }
    }
    if (!files.starts.empty()) {
        readers.read(files, totals);
    }
    for (const std::string& name : subFolders) {
        const int sub =
            ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub >= 0) {
            walk(sub, files, readers, totals);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const int threads = argc == 3 ? std::atoi(argv[2]) : 1;
    if (argc < 2 || argc > 3 || threads < 1) {
        std::fprintf(stderr, "usage: %s DIR [THREADS]\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const int top = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (top < 0) {
        std::perror(argv[1]);
        return 1;
    }
    Totals totals;
    {
        Readers readers(static_cast<unsigned>(threads));
        FolderFiles files;
        walk(top, files, readers, totals);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%lu files, %lu folders, %lu bytes read, %d thread%s, %.3f s\n", totals.files,
                totals.folders, totals.bytes, threads, threads == 1 ? "" : "s", took.count());
    return 0;
}
