#include "platform/TextFileWriter.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "support/FailureNumber.h"
#include "support/TempDir.h"

namespace {

using platform::TextFileWriter;
using testsupport::readFile;

using testsupport::failureNumberOf;

// The names in a directory: what a writer leaves behind, new files included.
std::set<std::string> namesIn(const testsupport::TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(TextFileWriter, WritesLinesEndedByCrLfAndShowsThemOnlyOnCommit) {
    testsupport::TempDir dir;
    const std::string path = dir.write("_report.txt", "older");
    TextFileWriter writer(path);
    writer.writeLine("<html>");
    writer.writeLine("");
    writer.writeLine("caf\xC3\xA9");
    writer.close();
    writer.close(); // a second close does nothing
    EXPECT_EQ(readFile(path), "older");
    writer.commit();
    writer.commit(); // nor does a second commit
    EXPECT_EQ(readFile(path), "<html>\r\n\r\ncaf\xC3\xA9\r\n");
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"_report.txt"});
}

TEST(TextFileWriter, AWriterDroppedWithoutCommitLeavesTheOlderFileAndNothingElse) {
    testsupport::TempDir dir;
    const std::string path = dir.write("_fonts.html", std::string(100000, 'x'));
    {
        TextFileWriter writer(path);
        writer.writeLine("new");
        for (int i = 0; i < 20000; ++i) { // several buffers' worth, some of it written
            writer.writeLine("line");
        }
    }
    EXPECT_EQ(readFile(path), std::string(100000, 'x'));
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"_fonts.html"});
}

TEST(TextFileWriter, LongOutputArrivesWholeAndInOrder) {
    testsupport::TempDir dir;
    const std::string path = dir.file("long.txt");
    std::string expected;
    TextFileWriter writer(path);
    for (int i = 0; i < 20000; ++i) { // several buffers' worth
        const std::string line = "line " + std::to_string(i);
        writer.writeLine(line);
        expected += line + "\r\n";
    }
    writer.commit();
    EXPECT_EQ(readFile(path), expected);
}

#ifndef _WIN32 // symbolic links and named pipes are POSIX fixtures
TEST(TextFileWriter, ALinkAtTheTargetIsReplacedAndWhatItPointsToIsLeftAlone) {
    testsupport::TempDir dir;
    const std::string elsewhere = dir.write("elsewhere.txt", "precious");
    std::filesystem::create_symlink(elsewhere, dir.file("_report.txt"));
    TextFileWriter writer(dir.file("_report.txt"));
    writer.writeLine("report");
    writer.commit();
    EXPECT_EQ(readFile(elsewhere), "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("_report.txt")));
    EXPECT_EQ(readFile(dir.file("_report.txt")), "report\r\n");
}
#endif

TEST(TextFileWriter, TargetsThatCannotBeReplacedAreRefusedBeforeAnythingIsCreated) {
    testsupport::TempDir dir;
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(dir.file("no/_fonts.html")); }), 76);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(dir.str()); }), 75);
    std::filesystem::create_directory(dir.file("sub"));
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(dir.file("sub")); }), 75);
    const std::string readOnly = dir.write("read-only.txt", "kept");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(readOnly); }), 75);
    EXPECT_EQ(readFile(readOnly), "kept");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.file("pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(dir.file("pipe.txt")); }), 75);
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"sub", "read-only.txt", "pipe.txt"}));
#else
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"sub", "read-only.txt"}));
#endif
}

// The undo that keeps a pair of files whole: the earlier file comes back byte for byte, or the
// new one goes where there was none; nothing else is left behind.
TEST(TextFileWriter, UndoPutsTheEarlierFileBackOrRemovesTheNewOne) {
    for (const bool hadEarlier : {true, false}) {
        SCOPED_TRACE(hadEarlier);
        testsupport::TempDir dir;
        const std::string path = dir.file("_report.txt");
        if (hadEarlier) {
            dir.write("_report.txt", "an older report");
        }
        TextFileWriter writer(path);
        writer.writeLine("new");
        writer.commitUndoably();
        EXPECT_EQ(readFile(path), "new\r\n");
        writer.undo();
        EXPECT_EQ(std::filesystem::exists(path), hadEarlier);
        EXPECT_EQ(namesIn(dir),
                  hadEarlier ? std::set<std::string>{"_report.txt"} : std::set<std::string>{});
        if (hadEarlier) {
            EXPECT_EQ(readFile(path), "an older report");
        }
    }
}

#ifndef _WIN32
TEST(TextFileWriter, TheReplacedFileKeepsItsPermissionBits) {
    testsupport::TempDir dir;
    const std::string path = dir.write("_fonts.html", "older");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    TextFileWriter writer(path);
    writer.writeLine("<HTML>");
    writer.commit();
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}
#endif

} // namespace
