// Hostile input: every reader and both batch runs finish in bounded time and memory and give a
// clear result, whatever the files hold or are.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fontcore/FontReport.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"
#include "platform/DirectoryListing.h"
#include "platform/Failure.h"
#include "platform/FontFileReader.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "text/Text.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"
#include "type1/HeaderReport.h"
#include "type1/HeaderWindow.h"

namespace {

namespace fs = std::filesystem;
using fontlist::Answer;
using fontlist::SpacesOption;
using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::readFile;
using testsupport::ScriptedHost;
using testsupport::TempDir;

// Runs the action on another thread and waits for it at most the given time. A hang ends the
// whole test program with a message: a stalled suite would hide which case hung.
template <typename Action>
auto finishing(Action action, std::chrono::seconds limit = std::chrono::seconds(20)) {
    auto result = std::async(std::launch::async, std::move(action));
    if (result.wait_for(limit) != std::future_status::ready) {
        std::fprintf(stderr, "a hostile input made the program hang\n");
        std::_Exit(1);
    }
    return result.get();
}

// Compares long texts, showing only where they first differ.
void expectSameText(const std::string& actual, const std::string& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end()) {
        return;
    }
    const std::size_t at = static_cast<std::size_t>(a - actual.begin());
    const std::size_t from = at < 60 ? 0 : at - 60;
    ADD_FAILURE() << "texts of " << actual.size() << " and " << expected.size()
                  << " bytes differ at byte " << at << ":\n  actual:   ..."
                  << actual.substr(from, 120) << "\n  expected: ..." << expected.substr(from, 120);
}

std::string failureText(platform::FailureNumber number, const std::string& path) {
    return fontcore::failedFontReport(platform::Failure(number), path).text;
}

// --- The name table --------------------------------------------------------------------------

// 32767 records, all of platform 3 and name ID 4, each pointing at the first record's own 12
// bytes (a table that large has its strings among its records: the storage lies within 64 KiB
// of the table). Those bytes without their NULs are 03 01 04 09 04 and the length.
NameTableLayout everyRecordOfPlatformThree(std::uint16_t length) {
    NameTableLayout names;
    NameRecordLayout record{3, 1, 0x0409, 4, {}};
    record.length = length;
    record.offset = 0;
    names.records.assign(32767, record);
    names.storageOffset = 6;
    return names;
}

TEST(HostileTrueType, ThirtyTwoThousandRecordsOfPlatformThreeAreAllReported) {
    TempDir dir;
    const std::string path =
        dir.write("many.ttf", testsupport::trueTypeFont(everyRecordOfPlatformThree(12)));
    const std::string name = "\x03\x01\x04\x09\x04\x0C";

    EXPECT_EQ(finishing([&] { return truetype::TTEnglishName(path).text(); }), name);
    const fontcore::FontReport report = finishing([&] { return truetype::TTReport(path); });

    std::string expected = "NAME Table Info for " + path + "\r\nName Records | 32767\r\n";
    for (int i = 0; i < 32767; ++i) {
        expected += "Win Unicode ENU Full Font Name | " + name + "\r\n";
    }
    expectSameText(report.text, expected);
}

TEST(HostileTrueType, AReportOfGigabytesIsRefusedInsteadOfBuilt) {
    // Every record asks for a string of 32767 bytes: 400 KB of font would make a report of
    // over a gigabyte. The lookup reads one string; the report stops at a few megabytes.
    TempDir dir;
    const std::string path =
        dir.write("huge.ttf", testsupport::trueTypeFont(everyRecordOfPlatformThree(0x7FFF)));

    const std::string name = finishing([&] { return truetype::TTEnglishName(path).text(); });
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 3u * 32767u);
    EXPECT_EQ(finishing([&] { return truetype::TTReport(path); }).text,
              failureText(platform::FailureNumber::OutOfMemory, path));
}

TEST(HostileTrueType, LargeTablesBelowTheLimitAreReportedInFull) {
    // A thousand records sharing one string of 2000 bytes: two megabytes of strings.
    NameTableLayout names;
    names.records.push_back({3, 1, 0x0409, 13, testsupport::utf16be(std::u16string(1000, u'x'))});
    for (int i = 1; i < 1000; ++i) {
        NameRecordLayout record{3, 1, 0x0409, 13, {}};
        record.length = 2000;
        record.offset = 0;
        names.records.push_back(record);
    }
    TempDir dir;
    const std::string path = dir.write("license.ttf", testsupport::trueTypeFont(names));
    const std::string report = truetype::TTReport(path).text;

    const std::string line = "Win Unicode ENU License Info | " + std::string(1000, 'x') + "\r\n";
    std::size_t lines = 0;
    for (std::size_t at = report.find(line); at != std::string::npos;
         at = report.find(line, at + line.size())) {
        ++lines;
    }
    EXPECT_EQ(lines, 1000u);

    // Strings past the end of the file are never read, so they count for nothing: a thousand
    // records asking for 32767 bytes each there are listed, each with an empty string.
    NameTableLayout beyond;
    for (int i = 0; i < 1000; ++i) {
        NameRecordLayout record{3, 1, 0x0409, 13, {}};
        record.length = 0x7FFF;
        record.offset = 0x7FFF;
        beyond.records.push_back(record);
    }
    beyond.storageOffset = 0xFFFF;
    const std::string far = dir.write("far.ttf", testsupport::trueTypeFont(beyond));
    std::string expected = "NAME Table Info for " + far + "\r\nName Records | 1000\r\n";
    for (int i = 0; i < 1000; ++i) {
        expected += "Win Unicode ENU License Info | \r\n";
    }
    expectSameText(truetype::TTReport(far).text, expected);
}

TEST(HostileTrueType, ACountFarBeyondTheRecordsInTheFileKeepsEveryLine) {
    // Two records and a count of 32767. The third record is made of the strings ("Mac", ...:
    // platform 0x61, no line); from the fourth on the records lie past the end of the file and
    // read as zero bytes, and each has its line (platform 0, language 0, name ID 0).
    NameTableLayout names;
    names.records = {{1, 0, 0, 4, "Mac"}, {3, 1, 0x0409, 4, testsupport::utf16be(u"Win")}};
    names.count = 32767;
    TempDir dir;
    const std::string path = dir.write(
        "short.ttf",
        testsupport::trueTypeBytes({{{"name", testsupport::nameTableBytes(names), std::nullopt}}}));

    EXPECT_EQ(truetype::TTEnglishName(path).text(), "Win");
    std::string expected = "NAME Table Info for " + path +
                           "\r\nName Records | 32767\r\nMac ENG Full Font Name | Mac\r\n"
                           "Win Unicode ENU Full Font Name | Win\r\n";
    for (int i = 3; i < 32767; ++i) {
        expected += "Apple Unicode ENG Copyright | \r\n";
    }
    expectSameText(truetype::TTReport(path).text, expected);
}

// --- Font collections ------------------------------------------------------------------------

// A header that lists the font of 32767 records 65535 times: the name is read from the first
// font alone; the report stops at its limit instead of reading two billion records.
TEST(HostileCollection, SixtyFiveThousandCopiesOfOneFontAreRefusedNotRead) {
    const std::uint32_t fontAt = 12 + 4 * 65535;
    testsupport::CollectionLayout layout{
        .fonts = {testsupport::trueTypeFont(everyRecordOfPlatformThree(12))},
        .count = 65535,
        .offsets = std::vector<std::uint32_t>(65535, fontAt)};
    TempDir dir;
    const std::string path = dir.write("many.ttc", testsupport::fontCollection(layout));

    EXPECT_EQ(finishing([&] { return truetype::TTCEnglishName(path).text(); }),
              "\x03\x01\x04\x09\x04\x0C");
    EXPECT_EQ(finishing([&] { return truetype::TTCReport(path); }).text,
              failureText(platform::FailureNumber::OutOfMemory, path));
}

// Offsets that point into the header itself and at each other's bytes: each "font" is read
// where it is said to lie, once, and none has a name table.
TEST(HostileCollection, OffsetsPointingAtTheHeaderAndAtEachOtherOverflow) {
    testsupport::CollectionLayout layout{
        .fonts = {testsupport::trueTypeFontNamed(u"Real")}, .count = 3, .offsets = {4, 12, 8}};
    TempDir dir;
    const std::string path = dir.write("loop.ttc", testsupport::fontCollection(layout));

    EXPECT_EQ(finishing([&] { return truetype::TTCEnglishName(path).text(); }), "error: Overflow");
    EXPECT_EQ(finishing([&] { return truetype::TTCReport(path); }).text,
              failureText(platform::FailureNumber::Overflow, path));
}

// The header searches on windows made to be slow: every byte a near match of the key. They
// find what a plain byte-by-byte search finds (their speed is measured in bench/).
TEST(HostileType1, SearchesOfWindowsFullOfNearMatchesAreExact) {
    const auto plainFind = [](std::string_view text, std::int64_t start, std::string_view key) {
        for (std::int64_t at = start - 1;
             at + static_cast<std::int64_t>(key.size()) <= static_cast<std::int64_t>(text.size());
             ++at) {
            bool match = true;
            for (std::size_t k = 0; k < key.size() && match; ++k) {
                match = text::foldByte(
                            static_cast<std::uint8_t>(text[static_cast<std::size_t>(at) + k])) ==
                        text::foldByte(static_cast<std::uint8_t>(key[k]));
            }
            if (match) {
                return at + 1;
            }
        }
        return std::int64_t{0};
    };
    std::mt19937 random(11);
    const std::string alphabet = "bBeEgGiInN(/)\x8A\x9A\x9F\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string window(static_cast<std::size_t>(random() % 40), ' ');
        for (char& c : window) {
            c = alphabet[random() % alphabet.size()];
        }
        for (const std::string_view key : {"begin", "(", "\x9A", "\xFF", "BEG"}) {
            const auto start = static_cast<std::int64_t>(random() % 8) + 1;
            ASSERT_EQ(text::find(window, start, key), plainFind(window, start, key))
                << window << " / " << key << " from " << start;
        }
    }

    std::string nearMisses;
    for (int i = 0; i < 750; ++i) {
        nearMisses += i % 2 == 0 ? "begi" : "BEGI";
    }
    const std::string type1 = testsupport::pfbFont(nearMisses);
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(type1.data()), type1.size()));
    EXPECT_EQ(type1::T1NameFromReader(reader).text(), "error: Invalid procedure call or argument");
}

// Files that hold no font, or a sparse file of 4 GiB around one: each reader gives its clear
// result and reads a page or a few.
TEST(HostileFiles, EachReaderFinishesReadingLittle) {
    TempDir dir;
    const std::string font = testsupport::trueTypeFontNamed(u"Sparse Sans");
    const std::string type1 = testsupport::pfbFont(testsupport::typicalClearText("Sparse Serif"));
    const std::uint64_t big = std::uint64_t{4} << 30;
    const struct {
        const char* name;
        std::string bytes;
        std::uint64_t size; // grown to this with zero bytes (a sparse file); 0: as written
        std::string lookup;
        std::uint64_t mostFetches;
    } cases[] = {
        {"empty.ttf", "", 0, "error: Overflow", 0},
        {"one.ttf", "\x80", 0, "error: Overflow", 1},
        {"one.pfb", "\x80", 0, "error: Invalid procedure call or argument", 1},
        {"empty.pfb", "", 0, "error: Invalid procedure call or argument", 0},
        // A directory of 2048 entries without a "name" tag, past which the search gives up.
        {"no-name.ttf", std::string(12, '\0') + std::string(16 * 2048, 'x'), 0, "error: Overflow",
         1},
        {"zeros.ttf", "", big, "error: Overflow", 9},
        {"sparse.ttf", font, big, "Sparse Sans", 2},
        {"sparse.pfb", type1, big, "Sparse Serif", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write(c.name, c.bytes);
        if (c.size != 0) {
            fs::resize_file(path, c.size);
            struct stat info {};
            ASSERT_EQ(::stat(path.c_str(), &info), 0);
            if (info.st_blocks * 512 > 1024 * 1024) {
                GTEST_SKIP() << "this file system does not keep files sparse";
            }
        }
        const bool trueType = std::string_view(c.name).ends_with(".ttf");
        platform::FontFileReader reader(path);
        const std::string lookup = finishing([&] {
            return (trueType ? truetype::TTEnglishNameFromReader(reader)
                             : type1::T1NameFromReader(reader))
                .text();
        });
        EXPECT_EQ(lookup, c.lookup);
        EXPECT_LE(reader.fetchCount(), c.mostFetches);
        EXPECT_EQ((trueType ? truetype::TTEnglishName(path) : type1::T1Name(path)).text(),
                  c.lookup);

        const fontcore::FontReport report =
            finishing([&] { return trueType ? truetype::TTReport(path) : type1::T1Report(path); });
        if (c.lookup.starts_with("error: ")) {
            EXPECT_EQ(report.text, failureText(c.lookup == "error: Overflow"
                                                   ? platform::FailureNumber::Overflow
                                                   : platform::FailureNumber::InvalidArgument,
                                               path));
        } else {
            EXPECT_NE(report.text.find(c.lookup), std::string::npos) << report.text;
        }
    }
}

// A named pipe or a directory under a font's name: refused at once with the access failure,
// never waited on, never read as a font.
TEST(HostileFiles, PipesAndDirectoriesNamedLikeFontsAreRefusedAtOnce) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.ttf").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe.pfb").c_str(), 0600), 0);
    fs::create_directory(dir.file("folder.ttf"));
    fs::create_directory(dir.file("folder.pfb"));
    dir.write("real.ttf", testsupport::trueTypeFontNamed(u"Real"));

    for (const char* name : {"pipe.ttf", "pipe.pfb", "folder.ttf", "folder.pfb"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.file(name);
        const bool trueType = std::string_view(name).ends_with(".ttf");
        EXPECT_EQ(
            finishing([&] {
                return (trueType ? truetype::TTEnglishName(path) : type1::T1Name(path)).text();
            }),
            "error: Path/File access error");
        const fontcore::FontReport report =
            finishing([&] { return trueType ? truetype::TTReport(path) : type1::T1Report(path); });
        EXPECT_EQ(report.text, failureText(platform::FailureNumber::PathFileAccess, path));
        EXPECT_FALSE(report.fileListStale);
    }
    EXPECT_EQ(finishing([&] { return platform::listMatchingFiles(dir.str(), "*.ttf;*.pfb"); }),
              std::vector<std::string>{"real.ttf"});
}

// --- The batch runs --------------------------------------------------------------------------

// A host whose file list was read before the directory changed: it goes on listing the names
// it was given, whatever they are now.
class StaleListHost : public ScriptedHost {
public:
    StaleListHost(std::string directory, std::vector<std::string> names)
        : ScriptedHost(std::move(directory)), names_(std::move(names)) {}
    int fileListCount() override { return static_cast<int>(names_.size()); }
    std::string fileListEntry(int index) override {
        return names_.at(static_cast<std::size_t>(index));
    }
    void refreshFileList() override { events.push_back("refresh files"); }

private:
    std::vector<std::string> names_;
};

TEST(HostileBatch, PipesAndDirectoriesInTheListNeitherHangNorStopTheRuns) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("b-pipe.ttf").c_str(), 0600), 0);
    fs::create_directory(dir.file("c-folder.ttf"));
    const std::string font = testsupport::trueTypeFontNamed(u"Alpha");
    dir.write("a.ttf", font);
    dir.write("d.ttf", testsupport::trueTypeFontNamed(u"Delta"));
    const std::vector<std::string> listed{"a.ttf", "b-pipe.ttf", "c-folder.ttf", "d.ttf"};

    StaleListHost copyHost(dir.str(), listed);
    fontlist::BatchState state;
    finishing([&] { fontlist::RenameFonts_Click(copyHost, state, SpacesOption::NoChange); });
    // Neither can be read: the closing message names both, and the run copies the others.
    ASSERT_EQ(copyHost.messages.size(), 1u);
    EXPECT_EQ(copyHost.messages[0].text,
              "Finished.\r\n\r\n2 fonts were left incomplete because a file could not be read: "
              "b-pipe.ttf (Path/File access error), c-folder.ttf (Path/File access error).");
    const fs::path friendly = dir.path() / "friendly";
    EXPECT_EQ(readFile((friendly / "Alpha.ttf").string()), font);
    EXPECT_TRUE(fs::exists(friendly / "Delta.ttf"));
    EXPECT_EQ(std::distance(fs::directory_iterator(friendly), fs::directory_iterator()), 2);

    StaleListHost htmlHost(dir.str(), listed);
    finishing([&] { fontlist::CreateHTMLFontList_Click(htmlHost, state, SpacesOption::NoChange); });
    ASSERT_EQ(htmlHost.messages.size(), 1u);
    EXPECT_TRUE(htmlHost.messages[0].text.starts_with("Created ")) << htmlHost.messages[0].text;
    const std::string page = readFile(dir.file("_fonts.html"));
    EXPECT_NE(page.find("b-pipe.ttf\">error PathFile access error</A>"), std::string::npos) << page;
    EXPECT_NE(page.find("c-folder.ttf\">error PathFile access error</A>"), std::string::npos)
        << page;
}

// A directory of 100,000 fonts through both runs: hard links to two copies of one small font
// (a file system allows some 65,000 links to one file), so that they cost next to no space.
// All have one name: the copies land on one file, and the report holds one group of 100,000.
TEST(HostileBatch, AHundredThousandFontsGoThroughBothRuns) {
    constexpr int kFonts = 100'000;
    // In memory where there is a file system there (creating 100,000 copies on a disk that
    // journals every file takes far longer than the runs themselves).
    const char* const tmpdir = std::getenv("TMPDIR");
    const std::string saved = tmpdir == nullptr ? "" : tmpdir;
    if (fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0) {
        ::setenv("TMPDIR", "/dev/shm", 1);
    }
    TempDir dir;
    tmpdir == nullptr ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", saved.c_str(), 1);
    const std::string fonts = dir.file("fonts");
    fs::create_directory(fonts);
    const std::string font = testsupport::trueTypeFontNamed(u"Same");
    const std::string originals[] = {dir.write("first.ttf", font), dir.write("second.ttf", font)};
    for (int i = 0; i < kFonts; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/f%06d.ttf", i);
        ASSERT_EQ(::link(originals[i % 2].c_str(), (fonts + name).c_str()), 0) << name;
    }

    ScriptedHost htmlHost(fonts);
    ASSERT_EQ(htmlHost.fileListCount(), kFonts);
    fontlist::BatchState state;
    finishing([&] { fontlist::CreateHTMLFontList_Click(htmlHost, state, SpacesOption::NoChange); },
              std::chrono::seconds(120));
    ASSERT_EQ(htmlHost.messages.size(), 1u);
    EXPECT_TRUE(htmlHost.messages[0].text.starts_with("Created ")) << htmlHost.messages[0].text;
    const std::string page = readFile(fonts + "/_fonts.html");
    const std::string report = readFile(fonts + "/_report.txt");
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'),
              kFonts + 3); // <HTML>, <META ...>, </HTML>
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 6 + 2 + kFonts + 2);
    EXPECT_EQ(htmlHost.progress.front(), " 99999");

    ScriptedHost copyHost(fonts);
    finishing([&] { fontlist::RenameFonts_Click(copyHost, state, SpacesOption::NoChange); },
              std::chrono::seconds(120));
    ASSERT_FALSE(copyHost.messages.empty());
    EXPECT_EQ(copyHost.messages.back().text, "Finished.");
    EXPECT_EQ(copyHost.messages.size(), 1u);
    EXPECT_EQ(readFile(fonts + "/friendly/Same.ttf"), font);
    EXPECT_EQ(std::distance(fs::directory_iterator(fonts + "/friendly"), fs::directory_iterator()),
              1);
    for (const std::string& original : originals) {
        EXPECT_EQ(fs::hard_link_count(original), static_cast<std::uintmax_t>(kFonts / 2 + 1));
        EXPECT_EQ(readFile(original), font);
    }
}

} // namespace
