#include "platform/FontFileReader.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "support/FailureNumber.h"
#include "support/TempDir.h"

namespace {

using platform::FontFileReader;

using testsupport::failureNumberOf;

// A byte pattern whose value at every offset is known and differs between neighbouring
// pages, so that a page read from the wrong place shows.
std::uint8_t patternAt(std::uint64_t offset) {
    return static_cast<std::uint8_t>((offset * 7 + offset / 4096) % 251);
}

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(patternAt(i));
    }
    return bytes;
}

TEST(FontFileReader, SmallFileIsReadWholeOnce) {
    testsupport::TempDir dir;
    FontFileReader reader(dir.write("small.ttf", std::string("\x00\x01true\xFF", 7)));
    EXPECT_EQ(reader.size(), 7u);
    EXPECT_EQ(reader.fetchCount(), 0u); // nothing read before the first access
    EXPECT_EQ(reader.byteAt(1), 0x00);  // positions are 1-based
    EXPECT_EQ(reader.byteAt(2), 0x01);
    EXPECT_EQ(reader.byteAt(7), 0xFF);
    EXPECT_EQ(reader.bytesAt(3, 4), "true");
    EXPECT_EQ(reader.bytesAt(1, 0), "");
    EXPECT_EQ(reader.fetchCount(), 1u);
}

TEST(FontFileReader, BytesPastTheEndReadAsZero) {
    testsupport::TempDir dir;
    FontFileReader reader(dir.write("short.pfb", "abc"));
    EXPECT_EQ(reader.byteAt(4), 0);
    EXPECT_EQ(reader.byteAt(1'000'000), 0);
    EXPECT_EQ(reader.byteAt(INT64_MAX), 0);
    EXPECT_EQ(reader.bytesAt(2, 5), std::string("bc\0\0\0", 5)); // straddles the end
    EXPECT_EQ(reader.bytesAt(4, 3), std::string(3, '\0'));
    EXPECT_EQ(reader.bytesAt(INT64_MAX, 0), "");
    // The Type 1 header window: 3000 bytes from position 6 of a short file.
    EXPECT_EQ(reader.bytesAt(6, 3000), std::string(3000, '\0'));
}

TEST(FontFileReader, EmptyFileReadsAsZeroWithoutFetching) {
    testsupport::TempDir dir;
    FontFileReader reader(dir.write("empty.ttf", ""));
    EXPECT_EQ(reader.byteAt(1), 0);
    EXPECT_EQ(reader.bytesAt(13, 4), std::string(4, '\0'));
    EXPECT_EQ(reader.fetchCount(), 0u);
}

TEST(FontFileReader, BadPositionsAndCountsFail) {
    testsupport::TempDir dir;
    FontFileReader reader(dir.write("f.ttf", "abc"));
    EXPECT_EQ(failureNumberOf([&] { reader.byteAt(0); }), 63);
    EXPECT_EQ(failureNumberOf([&] { reader.byteAt(-1); }), 63);
    EXPECT_EQ(failureNumberOf([&] { reader.byteAt(INT64_MIN); }), 63);
    EXPECT_EQ(failureNumberOf([&] { reader.bytesAt(0, 1); }), 63);
    EXPECT_EQ(failureNumberOf([&] { reader.bytesAt(1, -1); }), 5);
    // An absurd count is refused instead of allocating it; nothing near it is ever asked for.
    EXPECT_EQ(failureNumberOf([&] { reader.bytesAt(1, INT64_MAX); }), 5);
    EXPECT_EQ(failureNumberOf([&] { reader.bytesAt(INT64_MAX, INT64_MAX); }), 5);
    EXPECT_EQ(reader.bytesAt(1, 1024 * 1024).size(), 1024u * 1024u);
}

TEST(FontFileReader, OpeningFailures) {
    testsupport::TempDir dir;
    const std::string missing = dir.file("missing.ttf");
    EXPECT_EQ(failureNumberOf([&] { FontFileReader reader(missing); }), 53);
    EXPECT_FALSE(std::filesystem::exists(missing)); // opening never creates the file
    EXPECT_EQ(failureNumberOf([&] { FontFileReader reader(dir.str()); }), 75);
    EXPECT_EQ(failureNumberOf([&] { FontFileReader reader(dir.file("no/such/dir.ttf")); }), 53);
}

TEST(FontFileReader, NamedPipeIsRefusedWithoutWaiting) {
#ifdef _WIN32
    GTEST_SKIP() << "no named pipes in a directory on Windows";
#else
    // A pipe named like a font must not hang the batch run waiting for a writer.
    testsupport::TempDir dir;
    const std::string pipe = dir.file("pipe.ttf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto result = std::async(std::launch::async,
                             [&] { return failureNumberOf([&] { FontFileReader reader(pipe); }); });
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Release the blocked open with a writer so that the test ends instead of hanging.
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        result.wait();
        ::close(writer);
        FAIL() << "opening a named pipe blocked";
    }
    EXPECT_EQ(result.get(), 75);
#endif
}

TEST(FontFileReader, LargeFileIsReadInPages) {
    constexpr std::size_t kSize = 1024 * 1024;
    testsupport::TempDir dir;
    FontFileReader reader(dir.write("big.ttf", pattern(kSize)));
    ASSERT_EQ(reader.size(), kSize);

    // A thousand single-byte reads inside one page cost one fetch.
    for (std::int64_t position = 8193; position < 8193 + 1000; ++position) {
        ASSERT_EQ(reader.byteAt(position), patternAt(static_cast<std::uint64_t>(position - 1)));
    }
    EXPECT_EQ(reader.fetchCount(), 1u);

    // Page boundaries, both sides, and the last byte of the file.
    for (const std::int64_t position : {4096, 4097, 12288, 12289, 65536, 65537, 1048576}) {
        EXPECT_EQ(reader.byteAt(position), patternAt(static_cast<std::uint64_t>(position - 1)))
            << position;
    }
    EXPECT_EQ(reader.byteAt(1048577), 0);

    // Reads that straddle pages, that are larger than a page, and that run off the end.
    // (Compared with EXPECT_TRUE so that a mismatch does not print kilobytes.)
    const std::string whole = pattern(kSize);
    EXPECT_EQ(reader.bytesAt(4090, 20), whole.substr(4089, 20));
    EXPECT_TRUE(reader.bytesAt(100, 10000) == whole.substr(99, 10000));
    EXPECT_EQ(reader.bytesAt(1048570, 10), whole.substr(1048569, 7) + std::string(3, '\0'));
    EXPECT_TRUE(reader.bytesAt(1048000, 5000) == whole.substr(1047999) + std::string(4423, '\0'));
}

TEST(FontFileReader, LargeFileKeepsRecentPagesAndEvictsOldOnes) {
    testsupport::TempDir dir;
    FontFileReader reader(dir.write("big.ttf", pattern(512 * 1024)));
    // Eight pages stay: going back over them fetches nothing more.
    for (int round = 0; round < 3; ++round) {
        for (std::int64_t page = 0; page < 8; ++page) {
            ASSERT_EQ(reader.byteAt(page * 4096 + 1),
                      patternAt(static_cast<std::uint64_t>(page * 4096)));
        }
    }
    EXPECT_EQ(reader.fetchCount(), 8u);
    // Walking 64 pages forwards then backwards refetches but still reads right.
    for (std::int64_t page = 0; page < 64; ++page) {
        ASSERT_EQ(reader.byteAt(page * 4096 + 17),
                  patternAt(static_cast<std::uint64_t>(page * 4096 + 16)));
    }
    for (std::int64_t page = 63; page >= 0; --page) {
        ASSERT_EQ(reader.byteAt(page * 4096 + 4096),
                  patternAt(static_cast<std::uint64_t>(page * 4096 + 4095)));
    }
}

// A thread's readers pass their page buffers on to its next reader: nothing an earlier file
// left in them shows past the end of a later one.
TEST(FontFileReader, ALaterReaderSeesNoBytesOfAnEarlierOne) {
    const std::vector<std::uint8_t> earlier(18 * 4096, 0xAB);
    const std::vector<std::uint8_t> later(17 * 4096 + 1, 0x01);
    {
        FontFileReader reader(earlier);
        for (std::int64_t page = 0; page < 18; ++page) {
            ASSERT_EQ(reader.byteAt(page * 4096 + 1), 0xAB);
        }
    }
    FontFileReader reader(later);
    const std::span<const std::uint8_t> lastPage = reader.pageFrom(17 * 4096 + 1);
    ASSERT_EQ(lastPage.size(), 4096u);
    EXPECT_EQ(lastPage[0], 0x01);
    EXPECT_EQ(std::count(lastPage.begin() + 1, lastPage.end(), 0), 4095);
}

TEST(FontFileReader, MemoryReaderReadsLikeTheFileReader) {
    testsupport::TempDir dir;
    for (const std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{65536},
                                   std::size_t{65537}, std::size_t{300000}}) {
        const std::string bytes = pattern(size);
        const std::vector<std::uint8_t> memory(bytes.begin(), bytes.end());
        FontFileReader fromFile(dir.write("f.ttf", bytes));
        FontFileReader fromMemory(memory);
        EXPECT_EQ(fromMemory.size(), fromFile.size());
        for (const std::int64_t position :
             {std::int64_t{1}, std::int64_t{5}, std::int64_t{6}, std::int64_t{4097},
              std::int64_t{65536}, std::int64_t{65537}, std::int64_t{65538}, std::int64_t{299999},
              std::int64_t{300001}}) {
            EXPECT_EQ(fromMemory.byteAt(position), fromFile.byteAt(position))
                << size << " at " << position;
            EXPECT_TRUE(fromMemory.bytesAt(position, 3000) == fromFile.bytesAt(position, 3000))
                << size << " at " << position;
            EXPECT_TRUE(fromMemory.bytesAt(position, 9000) == fromFile.bytesAt(position, 9000))
                << size << " at " << position;
        }
        EXPECT_EQ(fromMemory.fetchCount(), fromFile.fetchCount()) << size;
    }
}

} // namespace
