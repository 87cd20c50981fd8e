#include "runtime/TextFileWriter.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "runtime/Failure.h"
#include "support/FailureNumber.h"
#include "support/TempDir.h"

namespace {

using runtime::TextFileWriter;
using testsupport::readFile;

using testsupport::failureNumberOf;

TEST(TextFileWriter, WritesLinesEndedByCrLf) {
    testsupport::TempDir dir;
    const std::string path = dir.file("_report.txt");
    TextFileWriter writer(path);
    writer.writeLine("<html>");
    writer.writeLine("");
    writer.writeLine("caf\xC3\xA9");
    writer.close();
    writer.close(); // a second close does nothing
    EXPECT_EQ(readFile(path), "<html>\r\n\r\ncaf\xC3\xA9\r\n");
}

TEST(TextFileWriter, ReplacesAnOlderLongerFile) {
    testsupport::TempDir dir;
    const std::string path = dir.write("_fonts.html", std::string(100000, 'x'));
    {
        TextFileWriter writer(path);
        writer.writeLine("new");
    } // the destructor flushes and closes
    EXPECT_EQ(readFile(path), "new\r\n");
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
    writer.close();
    EXPECT_EQ(readFile(path), expected);
}

TEST(TextFileWriter, OpeningFailures) {
    testsupport::TempDir dir;
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(dir.file("no/_fonts.html")); }), 76);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
    EXPECT_EQ(failureNumberOf([&] { TextFileWriter writer(dir.str()); }), 75);
}

TEST(TextFileWriter, DiskFullIsReported) {
    // /dev/full takes the open and fails every write with ENOSPC.
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    {
        TextFileWriter writer("/dev/full");
        writer.writeLine("short");
        EXPECT_EQ(failureNumberOf([&] { writer.close(); }), 61); // buffered until the close
    }
    {
        TextFileWriter writer("/dev/full");
        const std::string line(1000, 'x');
        EXPECT_EQ(failureNumberOf([&] {
                      for (int i = 0; i < 200; ++i) {
                          writer.writeLine(line);
                      }
                  }),
                  61);
    } // the destructor swallows any further failure
}

} // namespace
