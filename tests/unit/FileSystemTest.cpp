#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/TemporaryFile.h"
#include "support/FailureNumber.h"
#include "support/TempDir.h"

namespace {

namespace fs = platform::fs;
using testsupport::readFile;

using testsupport::failureNumberOf;

mode_t permissionBits(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

std::set<std::string> namesIn(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(FileSystem, AttributesAndLength) {
    testsupport::TempDir dir;
    const std::string file = dir.write("a.ttf", "12345");
    const std::string readOnly = dir.write("ro.ttf", "x");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);

    EXPECT_FALSE(fs::fileAttributes(file).directory);
    EXPECT_FALSE(fs::fileAttributes(file).readOnly);
    EXPECT_TRUE(fs::fileAttributes(readOnly).readOnly);
    EXPECT_TRUE(fs::fileAttributes(dir.str()).directory);
    EXPECT_EQ(fs::fileLength(file), 5u);
    EXPECT_EQ(fs::fileLength(dir.write("empty.ttf", "")), 0u);

    // The existence test of the batch runs: a missing file is failure 53.
    EXPECT_EQ(failureNumberOf([&] { fs::fileAttributes(dir.file("missing.pfm")); }), 53);
    EXPECT_EQ(failureNumberOf([&] { fs::fileLength(dir.file("missing.pfm")); }), 53);
}

TEST(FileSystem, CreateDirectory) {
    testsupport::TempDir dir;
    const std::string friendly = dir.file("friendly");
    fs::createDirectory(friendly);
    EXPECT_TRUE(std::filesystem::is_directory(friendly));
    // A second run finds it there: 75, which the copy run asks the user about.
    EXPECT_EQ(failureNumberOf([&] { fs::createDirectory(friendly); }), 75);
    EXPECT_EQ(failureNumberOf([&] { fs::createDirectory(dir.write("file", "x")); }), 75);
    EXPECT_EQ(failureNumberOf([&] { fs::createDirectory(dir.file("no/friendly")); }), 76);
}

TEST(FileSystem, RequireListableDirectory) {
    testsupport::TempDir dir;
    const std::string file = dir.write("file", "x");
    fs::requireListableDirectory(dir.str());
    EXPECT_EQ(failureNumberOf([&] { fs::requireListableDirectory(dir.file("missing")); }), 76);
    EXPECT_EQ(failureNumberOf([&] { fs::requireListableDirectory(file); }), 75);
    EXPECT_EQ(failureNumberOf([&] { fs::requireListableDirectory(file + "/below"); }), 76);
}

TEST(FileSystem, CopyCreatesOrReplacesTheTargetWithTheSourceBytes) {
    testsupport::TempDir dir;
    std::string bytes(3 * 1024 * 1024 + 7, '\0'); // more than one copy chunk
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i % 253);
    }
    const std::string source = dir.write("src.ttf", bytes);
    ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
    const std::string target = dir.file("friendly/Some-Font.ttf");
    std::filesystem::create_directory(dir.file("friendly"));

    fs::copyFile(source, target);
    EXPECT_EQ(readFile(target), bytes);
#ifndef _WIN32 // Windows keeps only the owner's write bit, as the read-only attribute
    EXPECT_EQ(permissionBits(target), 0640u);
#endif

    // Replacing a longer file leaves nothing of it behind.
    const std::string shortSource = dir.write("short.pfb", "short");
    fs::copyFile(shortSource, target);
    EXPECT_EQ(readFile(target), "short");
    EXPECT_EQ(readFile(source), bytes); // the source is never touched

    // No temporary file is left next to the target.
    EXPECT_EQ(namesIn(dir.file("friendly")), std::set<std::string>{"Some-Font.ttf"});
}

TEST(FileSystem, CopyOfAReadOnlySourceIsReadOnly) {
    testsupport::TempDir dir;
    const std::string source = dir.write("src.pfb", "font");
    ASSERT_EQ(::chmod(source.c_str(), 0444), 0);
    const std::string target = dir.file("copy.pfb");
    fs::copyFile(source, target);
    EXPECT_EQ(readFile(target), "font");
    EXPECT_TRUE(fs::fileAttributes(target).readOnly);
}

TEST(FileSystem, CopyRefusesAReadOnlyTargetAndLeavesItAlone) {
    // Checked from the permission bits, so this holds for root too (CI runs as root).
    testsupport::TempDir dir;
    const std::string source = dir.write("src.ttf", "new bytes");
    const std::string target = dir.write("target.ttf", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);

    EXPECT_EQ(failureNumberOf([&] { fs::copyFile(source, target); }), 75);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(permissionBits(target), 0444u);
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"src.ttf", "target.ttf"}));
}

#ifndef _WIN32
// A file planted with set-id bits and a group of its own (say by another user in a shared
// folder) is replaced by a file with its permission bits only, in a group the running user
// belongs to: the copies and the text files alike. Root may give any group, so it is the case.
TEST(FileSystem, AReplacedFileKeepsNoSetIdBitsNorAForeignGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a file a group it does not belong to";
    }
    constexpr gid_t kForeignGroup = 54321; // no group of root's
    const std::function<void(const std::string&, const std::string&)> writers[] = {
        [](const std::string& source, const std::string& target) { fs::copyFile(source, target); },
        [](const std::string&, const std::string& target) {
            platform::TemporaryFile file(target);
            ASSERT_TRUE(file.keepModeOf(target));
            file.putInPlace(target, false);
        },
    };
    for (const auto& write : writers) {
        testsupport::TempDir dir;
        const std::string source = dir.write("src.dfont", "font");
        const std::string target = dir.write("planted.dfont", "a program");
        ASSERT_EQ(::chown(target.c_str(), static_cast<uid_t>(-1), kForeignGroup), 0);
        ASSERT_EQ(::chmod(target.c_str(), 06755), 0);

        write(source, target);

        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0755u);
        EXPECT_EQ(info.st_gid, ::getegid());
    }
}
#endif

#ifndef _WIN32
TEST(FileSystem, CopyReplacesALinkAtTheTargetAndNeverWritesThroughIt) {
    testsupport::TempDir dir;
    const std::string source = dir.write("src.ttf", "new bytes");
    const std::string elsewhere = dir.write("elsewhere.ttf", "precious");
    ASSERT_EQ(::chmod(elsewhere.c_str(), 0444), 0); // a read-only file behind the link
    std::filesystem::create_symlink(elsewhere, dir.file("target.ttf"));

    fs::copyFile(source, dir.file("target.ttf"));
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("target.ttf")));
    EXPECT_EQ(readFile(dir.file("target.ttf")), "new bytes");
    EXPECT_EQ(readFile(elsewhere), "precious");
}
#endif

TEST(FileSystem, CopyFailures) {
    testsupport::TempDir dir;
    const std::string source = dir.write("src.ttf", "x");
    const std::string target = dir.file("target.ttf");

    EXPECT_EQ(failureNumberOf([&] { fs::copyFile(dir.file("missing.ttf"), target); }), 53);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(failureNumberOf([&] { fs::copyFile(dir.str(), target); }), 75);
    EXPECT_EQ(failureNumberOf([&] { fs::copyFile(source, dir.file("no/target.ttf")); }), 76);

    std::filesystem::create_directory(dir.file("sub"));
    EXPECT_EQ(failureNumberOf([&] { fs::copyFile(source, dir.file("sub")); }), 75);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("sub")));

#ifdef _WIN32
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"src.ttf", "sub"}));
#else
    ASSERT_EQ(::mkfifo(dir.file("pipe.ttf").c_str(), 0600), 0);
    EXPECT_EQ(failureNumberOf([&] { fs::copyFile(dir.file("pipe.ttf"), target); }), 75);

    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"src.ttf", "sub", "pipe.ttf"}));
#endif
}

TEST(FileSystem, CopyOntoItselfKeepsTheFile) {
    // Writing a fresh copy first and renaming it over the target would be harmless here, but a
    // copy that truncated the target first would destroy the source.
    testsupport::TempDir dir;
    const std::string source = dir.write("font.ttf", "precious");
    fs::copyFile(source, source);
    EXPECT_EQ(readFile(source), "precious");
    fs::copyFile(source, dir.str() + "/./font.ttf");
    EXPECT_EQ(readFile(source), "precious");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"font.ttf"});
}

} // namespace
