// The floor of the HTML list itself: the system calls that `quillvane-cli html DIR` makes, with
// nothing parsed. It lists and sorts DIR's .ttf and .pfb files, then on one thread per
// processor (as the list does) opens each by its full path, reads its size and type, reads it
// whole when it is at most 64 KiB and otherwise the 4 KiB page with the table directory and the
// page where the `name` table starts, and closes it, keeping the size for the report (every
// font of the benchmark corpus has namesakes, so the report lists them all); then writes a
// page and a report of the list's size into a scratch directory.
// Run: build/default/bench/quillvane_bench_syscalls [--threads N] DIR
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kWholeFile = 64 * 1024;

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

bool isFontName(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == ".ttf" || extension == ".pfb";
}

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// The offset of the `name` table from the table directory in the first page; 0 when absent.
std::uint64_t nameTableOffset(const std::uint8_t* page, std::size_t length) {
    for (std::size_t entry = 12; entry + 16 <= length; entry += 16) {
        if (std::equal(page + entry, page + entry + 4, "name")) {
            return bigEndian32(page + entry + 8);
        }
    }
    return 0;
}

// The file's size as its open descriptor tells it.
std::uint64_t readFont(const std::string& path, std::vector<std::uint8_t>& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return 0;
    }
    std::uint64_t length = 0;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const auto size = static_cast<std::uint64_t>(info.st_size);
        length = size;
        // The floor makes the reads; what they return does not change what it measures.
        if (size <= kWholeFile) {
            [[maybe_unused]] const ssize_t whole = ::pread(fd, buffer.data(), size, 0);
        } else {
            const ssize_t got = ::pread(fd, buffer.data(), kPage, 0);
            const std::uint64_t name =
                got > 0 ? nameTableOffset(buffer.data(), static_cast<std::size_t>(got)) : 0;
            if (name >= kPage && name < size) {
                [[maybe_unused]] const ssize_t page =
                    ::pread(fd, buffer.data(), kPage, static_cast<off_t>(name - name % kPage));
            }
        }
    }
    ::close(fd);
    return length;
}

// Runs work(i) for every i on this thread and threads - 1 helpers.
void onThreads(unsigned threads, std::size_t count, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    const auto loop = [&] {
        for (std::size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            work(i);
        }
    };
    std::vector<std::jthread> helpers;
    for (unsigned h = 1; h < threads; ++h) {
        helpers.emplace_back(loop);
    }
    loop();
}

double millisecondsSince(std::chrono::steady_clock::time_point& start) {
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double, std::milli>(now - start).count();
    start = now;
    return elapsed;
}

} // namespace

int main(int argc, char* argv[]) {
    // One thread per processor, as the list starts with; --threads N for as many reads in
    // flight as N threads keep (the floor of a cold cache).
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    if (argc == 4 && std::string(argv[1]) == "--threads") {
        threads = static_cast<unsigned>(std::max(1, std::atoi(argv[2])));
        argv += 2;
        argc -= 2;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [--threads N] DIR\n", argv[0]);
        return 2;
    }
    const char* const listed = argv[1];
    auto clock = std::chrono::steady_clock::now();
    const std::string directory = std::string(listed) + "/";
    std::vector<std::string> paths;
    {
        const std::unique_ptr<DIR, DirectoryCloser> handle(::opendir(listed));
        if (!handle) {
            std::perror(listed);
            return 1;
        }
        while (const dirent* entry = ::readdir(handle.get())) {
            const std::string name = entry->d_name;
            if (name[0] != '.' && isFontName(name)) {
                paths.push_back(directory + name);
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    const double listing = millisecondsSince(clock);

    std::vector<std::uint64_t> lengths(paths.size());
    onThreads(threads, paths.size(), [&](std::size_t i) {
        thread_local std::vector<std::uint8_t> buffer(kWholeFile);
        lengths[i] = readFont(paths[i], buffer);
    });
    const double reads = millisecondsSince(clock);

    // A page line and a report line per font, of about the length of the real ones.
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() /
                                          ("quillvane-syscalls-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch);
    std::string page;
    std::string report;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        page +=
            "<A HREF=\"" + paths[i] + "\">" + paths[i].substr(directory.size()) + "</A><BR>\r\n";
        report += "  " + paths[i] + " (" + std::to_string(lengths[i]) + " bytes)\r\n";
    }
    for (const auto& [name, text] : {std::pair{"_fonts.html", &page}, {"_report.txt", &report}}) {
        const int fd =
            ::open((scratch / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t written = ::write(fd, text->data(), text->size());
            ::close(fd);
        }
    }
    std::filesystem::remove_all(scratch);
    const double writing = millisecondsSince(clock);

    std::printf("%zu fonts, %u threads: list and sort %.1f ms, reads %.1f ms, writing %.1f ms\n",
                paths.size(), threads, listing, reads, writing);
    return 0;
}
