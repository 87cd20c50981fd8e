#include "platform/DirectoryListing.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/SharedDirectoryReads.h"
#include "support/TempDir.h"
#include "text/Text.h"

namespace {

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

void PrintTo(const WildcardCase& c, std::ostream* out) {
    *out << '"' << c.name << "\" ~ \"" << c.pattern << '"';
}

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, Matches) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(platform::matchesWildcard(c.name, c.pattern), c.matches)
        << c.name << " ~ " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WildcardTest,
    ::testing::Values(WildcardCase{"arial.ttf", "*.ttf", true},
                      WildcardCase{"ARIAL.TTF", "*.ttf", true},
                      WildcardCase{"Arial.Ttf", "*.TTF", true},
                      WildcardCase{"arial.ttf.bak", "*.ttf", false},
                      WildcardCase{"arial.ttfx", "*.ttf", false},
                      WildcardCase{".ttf", "*.ttf", true}, WildcardCase{"ttf", "*.ttf", false},
                      WildcardCase{"a.ttf.ttf", "*.ttf", true}, // needs the star to back-track
                      WildcardCase{"font1.pfb", "font?.pfb", true},
                      WildcardCase{"font12.pfb", "font?.pfb", false},
                      WildcardCase{"fontÉ.pfb", "font?.pfb", true}, // "?" is one character
                      // In a name that is not UTF-8, "?" takes what the lead byte announces
                      // (cut short at the end), and one byte of what starts nothing.
                      WildcardCase{"x\xE0\x41", "x?", true},
                      WildcardCase{"x\xE0\x41", "x??", false}, WildcardCase{"\xFF\x80", "??", true},
                      WildcardCase{"ÉCOLE.ttf", "école*", true}, // Latin-1 letters fold
                      WildcardCase{"abc", "a*b*c", true}, WildcardCase{"abxbc", "a*b*c", true},
                      WildcardCase{"acb", "a*b*c", false}, WildcardCase{"", "*", true},
                      WildcardCase{"x", "", false}));

struct Listing : ::testing::Test {
    testsupport::TempDir dir;
    std::vector<std::string> list(const char* patterns) {
        return platform::listMatchingFiles(dir.str(), patterns);
    }
};

TEST_F(Listing, KeepsMatchingRegularFilesSortedWithoutRegardToCase) {
    for (const char* name :
         {"b.ttf", "A.pfb", "FONT.TTF", "c.PFB", "notes.txt", "é.ttf", "Z.ttf"}) {
        dir.write(name, "x");
    }
    EXPECT_EQ(list("*.ttf;*.pfb"),
              (std::vector<std::string>{"A.pfb", "b.ttf", "c.PFB", "FONT.TTF", "Z.ttf", "é.ttf"}));
    EXPECT_EQ(list("*.pfb"), (std::vector<std::string>{"A.pfb", "c.PFB"}));
    EXPECT_EQ(list(";;*.txt;"), (std::vector<std::string>{"notes.txt"}));
    EXPECT_TRUE(list("").empty());
}

TEST_F(Listing, OrdersNamesThatShareLongBeginningsOrDifferOnlyInCase) {
    const std::vector<std::string> sorted = {"abcdefgh.ttf",    "abcdefgh1.ttf", "ABCDEFGHIJ.ttf",
                                             "abcdefghij2.ttf", "abcdefgz.ttf",
#ifndef _WIN32 // names that differ only in case are one file on Windows
                                             "Twin.ttf",        "tWin.ttf",      "twin.ttf",
#endif
                                             "zz.ttf"};
    for (auto name = sorted.rbegin(); name != sorted.rend(); ++name) {
        dir.write(*name, "x");
    }
    EXPECT_EQ(list("*.ttf"), sorted);
}

// A long listing is sorted in two halves and merged: the order is that of a short one.
TEST_F(Listing, ALongListingIsInTheSameOrder) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < 33000; ++i) {
        // Case that varies from name to name, and numbers that run down as the files are made.
        const std::string number = std::to_string(100000 - i * 7 % 33000);
        names.push_back((i % 3 == 0 ? "Font" : i % 3 == 1 ? "FONT" : "font") + number + ".ttf");
        dir.write(names.back(), "");
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string foldedA = text::foldCaseUtf8(a);
        const std::string foldedB = text::foldCaseUtf8(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    EXPECT_TRUE(list("*.ttf") == names);
}

TEST_F(Listing, LeavesOutHiddenFilesDirectoriesPipesAndBrokenLinks) {
    dir.write("real.ttf", "x");
    dir.write(".hidden.ttf", "x");
    std::filesystem::create_directory(dir.path() / "folder.ttf");
#ifdef _WIN32
    // Windows has no named pipes in a directory, and links need privileges; it has the hidden
    // attribute instead.
    const std::string hidden = dir.write("attribute.ttf", "x");
    ASSERT_NE(
        ::SetFileAttributesW(testsupport::pathFromUtf8(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN), 0);
    EXPECT_EQ(list("*.ttf"), (std::vector<std::string>{"real.ttf"}));
#else
    ASSERT_EQ(::mkfifo(dir.file("pipe.ttf").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.path() / "real.ttf", dir.path() / "link.ttf");
    std::filesystem::create_symlink(dir.path() / "missing", dir.path() / "broken.ttf");
    std::filesystem::create_directory_symlink(dir.path() / "folder.ttf",
                                              dir.path() / "dirlink.ttf");

    EXPECT_EQ(list("*.ttf"), (std::vector<std::string>{"link.ttf", "real.ttf"}));
#endif
}

TEST_F(Listing, DirectoryThatCannotBeReadGivesEmptyList) {
    EXPECT_TRUE(platform::listMatchingFiles(dir.file("missing"), "*.ttf").empty());
    const std::string file = dir.write("plain.ttf", "x");
    EXPECT_TRUE(platform::listMatchingFiles(file, "*.ttf").empty());
}

TEST_F(Listing, SubdirectoriesLeaveHiddenOnesOutAndFollowLinksSortedWithoutRegardToCase) {
    for (const char* name : {"b", ".Hidden", "A", "Ä"}) {
        std::filesystem::create_directory(testsupport::pathFromUtf8(dir.file(name)));
    }
    dir.write("c.txt", "x");
    std::vector<std::string> expected{"A", "b", "Ä"};
#ifndef _WIN32
    std::filesystem::create_directory_symlink(dir.path() / "b", dir.path() / "dlink");
    std::filesystem::create_symlink(dir.path() / "missing", dir.path() / "broken");
    std::filesystem::create_symlink(dir.path() / "c.txt", dir.path() / "flink");
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    expected.insert(expected.begin() + 2, "dlink");
#endif
    EXPECT_EQ(platform::listSubdirectories(dir.str()), expected);
    EXPECT_TRUE(platform::listSubdirectories(dir.file("missing")).empty());
    EXPECT_TRUE(platform::listSubdirectories(dir.file("c.txt")).empty());
}

#ifndef _WIN32 // links and pipes are POSIX fixtures
// Under a shared read the second listing of the folder takes the first one's entries: it must
// give what a read of its own gives (links followed, hidden entries out, other kinds out), and
// once the scope is gone every listing reads the folder again.
TEST_F(Listing, ASharedReadGivesWhatReadsOfTheirOwnGive) {
    for (const char* name : {"a.ttf", "B.TTF", ".hidden.ttf", "notes.txt"}) {
        dir.write(name, "x");
    }
    std::filesystem::create_directory(dir.path() / "Sub");
    std::filesystem::create_directory(dir.path() / "folder.ttf");
    std::filesystem::create_directory_symlink(dir.path() / "Sub", dir.path() / "subLink");
    std::filesystem::create_symlink(dir.path() / "a.ttf", dir.path() / "link.ttf");
    ASSERT_EQ(::mkfifo(dir.file("pipe.ttf").c_str(), 0600), 0);
    const std::vector<std::string> subdirectories = platform::listSubdirectories(dir.str());
    const std::vector<std::string> fonts = list("*.ttf");
    ASSERT_EQ(fonts, (std::vector<std::string>{"a.ttf", "B.TTF", "link.ttf"}));
    {
        const platform::SharedDirectoryReads shared;
        EXPECT_EQ(platform::listSubdirectories(dir.str()), subdirectories);
        EXPECT_EQ(list("*.ttf"), fonts);
        EXPECT_EQ(platform::listSubdirectories(dir.str()), subdirectories);
    }
    dir.write("c.ttf", "x");
    EXPECT_EQ(list("*.ttf"), (std::vector<std::string>{"a.ttf", "B.TTF", "c.ttf", "link.ttf"}));
}
#endif

} // namespace
