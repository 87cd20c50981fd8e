// Files of the same bytes: what is grouped and what is not, files that change or go between
// the scan and the comparison or while they are read, a random tree against Python's hashlib,
// and a pair of 2 GiB files. POSIX only (pipes, sparse files, the peer).
#include "fontlist/SameBytes.h"

#include "platform/UniqueFd.h"
#include "support/PythonPeer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using fontlist::ScannedFile;
using testsupport::TempDir;

// The files as the scan knows them: one open each, the stamp and the first block's hash.
std::vector<ScannedFile> scannedAll(const std::vector<std::string>& paths) {
    std::vector<ScannedFile> files(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ScannedFile& file = files[i];
        file.paths = {paths[i]};
        const platform::UniqueFd fd(::open(paths[i].c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        file.opened = fd.valid() && platform::stampOfOpenFile(fd.get(), file.stamp);
        std::vector<std::uint8_t> block(std::min<std::uint64_t>(file.stamp.size, 4096));
        EXPECT_EQ(::pread(fd.get(), block.data(), block.size(), 0), std::ssize(block));
        file.firstBlock = platform::hashBytes(block);
    }
    return files;
}

// Writes the contents as files named by their places (000, 001, ...); their paths.
std::vector<std::string> written(const TempDir& dir, const std::vector<std::string>& contents) {
    std::vector<std::string> paths;
    for (const std::string& bytes : contents) {
        char name[16];
        std::snprintf(name, sizeof name, "%03zu", paths.size());
        paths.push_back(dir.write(name, bytes));
    }
    return paths;
}

std::string randomBytes(std::mt19937& random, std::size_t size) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

void appendByte(const std::string& path) {
    const platform::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    ASSERT_EQ(::write(fd.get(), "!", 1), 1);
}

using Groups = std::vector<std::vector<std::size_t>>;

// Copies and near copies in one folder: only the true copies are grouped; files alone in their
// size are not opened again (one is gone by then, and no trouble is told), empty files are no
// copies of each other, and files whose hashes are equal but whose bytes are not (here the
// scan's first-block hashes forced equal) are sorted out by their bytes.
TEST(SameBytes, GroupsTrueCopiesOnly) {
    TempDir dir;
    std::mt19937 random(7);
    const std::string big = randomBytes(random, 70'000);
    std::string lastByte = big;
    lastByte.back() ^= 1;
    const std::string x = randomBytes(random, 300);
    const std::string y = randomBytes(random, 300);
    const std::vector<std::string> paths = written(
        dir, {big, big, lastByte, big, "alone", "", "", x, y, x, y, lastByte + "p", big + "q"});
    std::vector<ScannedFile> files = scannedAll(paths);
    for (std::size_t i = 7; i <= 10; ++i) {
        files[i].firstBlock = files[7].firstBlock;
    }
    fs::remove(paths[4]);

    const fontlist::SameBytesResult result = fontlist::findSameBytes(files);
    EXPECT_EQ(result.groups, (Groups{{0, 1, 3}, {7, 9}, {8, 10}}));
    EXPECT_TRUE(result.troubles.empty());
}

// Files that are no longer what the scan saw, or that grow while they are read (the first of
// their group or another; the group hashed, of three, or compared at once, of two): each is
// told with its cause and left out, the others still grouped.
TEST(SameBytes, FilesThatChangeOrGoAreTroubles) {
    struct Case {
        std::size_t file;
        bool removed;
        bool whileRead;
        const char* cause;
    };
    for (const Case& test :
         {Case{1, false, false, "changed since it was listed"},
          Case{1, true, false, "File not found"}, Case{0, false, true, "changed while it was read"},
          Case{1, false, true, "changed while it was read"}}) {
        for (const std::size_t count : {2u, 3u}) {
            SCOPED_TRACE(std::string(test.cause) + ", file " + std::to_string(test.file) + " of " +
                         std::to_string(count));
            TempDir dir;
            const std::vector<std::string> paths = written(dir, {count, std::string(40'000, 'c')});
            const std::vector<ScannedFile> files = scannedAll(paths);
            std::atomic<bool> done{false};
            const auto change = [&] {
                if (!done.exchange(true)) {
                    test.removed ? (void)fs::remove(paths[test.file])
                                 : appendByte(paths[test.file]);
                }
            };
            fontlist::SameBytesOptions options{.chunk = 4096};
            if (test.whileRead) {
                options.afterChunk = [&](std::size_t file, std::uint64_t bytesRead) {
                    if (file == test.file && bytesRead == 8192) {
                        change();
                    }
                };
            } else {
                change();
            }
            const fontlist::SameBytesResult result = fontlist::findSameBytes(files, options);
            ASSERT_EQ(result.troubles.size(), 1u);
            EXPECT_EQ(result.troubles[0].file, test.file);
            EXPECT_EQ(result.troubles[0].cause, test.cause);
            const Groups others = test.file == 0 ? Groups{{1, 2}} : Groups{{0, 2}};
            EXPECT_EQ(result.groups, count == 3 ? others : Groups{});
        }
    }
}

// A seeded tree of files around the block and read sizes, with copies, copies with their last
// byte changed and copies with a byte changed after the first block: the groups are exactly
// those of SHA-256 in Python's hashlib.
TEST(SameBytes, ARandomTreeGroupsAsHashlibDoes) {
    if (!testsupport::pythonHas("hashlib")) {
        GTEST_SKIP() << "no python3";
    }
    TempDir dir;
    std::mt19937 random(38);
    std::vector<std::string> contents;
    while (contents.size() < 200) {
        const std::size_t sizes[] = {1, 100, 4095, 4096, 4097, 70'000, 300'000};
        std::string bytes =
            contents.empty() || random() % 4 == 0
                ? randomBytes(random, sizes[random() % std::size(sizes)] + random() % 2)
                : contents[random() % contents.size()];
        // As it is, its last byte changed, or a byte after the first block changed.
        const auto change = random() % 3;
        if (change == 1) {
            bytes.back() ^= 1;
        } else if (change == 2 && bytes.size() > 4096) {
            bytes[4096 + random() % (bytes.size() - 4096)] ^= 1;
        }
        contents.push_back(std::move(bytes));
    }
    const std::vector<std::string> paths = written(dir, contents);
    const fontlist::SameBytesResult result = fontlist::findSameBytes(scannedAll(paths));
    ASSERT_TRUE(result.troubles.empty());
    std::string ours; // a line per group, by first name as Python sorts them
    for (const std::vector<std::size_t>& group : result.groups) {
        for (const std::size_t file : group) {
            ours += fs::path(paths[file]).filename().string() + (file == group.back() ? "\n" : " ");
        }
    }
    EXPECT_EQ(
        testsupport::pythonOutput(
            "import hashlib, os, sys, collections\n"
            "d = sys.argv[1]; groups = collections.defaultdict(list)\n"
            "for n in sorted(os.listdir(d)):\n"
            "    groups[hashlib.sha256(open(os.path.join(d, n), \"rb\").read()).digest()]"
            ".append(n)\n"
            "for g in sorted(g for g in groups.values() if len(g) > 1): print(\" \".join(g))\n",
            {dir.str()}),
        ours);
    EXPECT_GE(result.groups.size(), 20u);
}

// Two sparse files of 2 GiB that differ in their last byte, in memory's file system (where a
// hole reads as zeros without a disk): read through to the end in bounded memory.
TEST(SameBytes, TwoGibibyteFilesAreReadInBoundedMemory) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "reading 4 GiB through the sanitizer takes too long";
#endif
    char folder[] = "/dev/shm/quillvane-test-XXXXXX";
    if (!fs::is_directory("/dev/shm") || ::mkdtemp(folder) == nullptr) {
        GTEST_SKIP() << "no /dev/shm";
    }
    const std::unique_ptr<char, void (*)(char*)> removed(folder, [](char* path) {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    });
    std::vector<std::string> paths;
    for (const char last : {'a', 'b'}) {
        paths.push_back(std::string(folder) + "/" + last);
        const platform::UniqueFd fd(::open(paths.back().c_str(), O_WRONLY | O_CREAT, 0600));
        ASSERT_EQ(::ftruncate(fd.get(), off_t{2} << 30), 0);
        ASSERT_EQ(::pwrite(fd.get(), &last, 1, (off_t{2} << 30) - 1), 1);
    }
    std::atomic<std::uint64_t> lastRead{0};
    fontlist::SameBytesOptions options;
    options.afterChunk = [&](std::size_t, std::uint64_t bytesRead) { lastRead = bytesRead; };
    rusage before{};
    rusage after{};
    ::getrusage(RUSAGE_SELF, &before);
    const fontlist::SameBytesResult result = fontlist::findSameBytes(scannedAll(paths), options);
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_TRUE(result.groups.empty() && result.troubles.empty());
    EXPECT_EQ(lastRead, std::uint64_t{2} << 30);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "KiB";
}

} // namespace
