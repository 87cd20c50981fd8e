// The details-pane report of a TrueType file, line by line, and its two failure texts.
#include "truetype/NameTableReport.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "runtime/FontReport.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::utf16be;

struct Report : ::testing::Test {
    testsupport::TempDir dir;
    runtime::FontReport report(const NameTableLayout& names) {
        return truetype::TTReport(dir.write("font.ttf", testsupport::trueTypeFont(names)));
    }
    std::string title() const { return "NAME Table Info for " + dir.file("font.ttf") + "\r\n"; }
};

TEST_F(Report, ListsEveryRecordOfPlatformsZeroToThree) {
    NameTableLayout names;
    names.records = {
        {1, 0, 0, 1, "Example Sans"},
        {3, 1, 0x0409, 4, utf16be(u"Example Sans Bold")},
        {7, 0, 0, 4, "never shown"},
        {3, 10, 0x0411, 4, utf16be(u"Full Unicode")}, // no platform label: starts with a blank
        {3, 1, 0x0C0C, 15, utf16be(u"No label")},     // no name-ID label
        {3, 1, 0x0409, 256, utf16be(u"Big ID")},
        {2, 0, 0, 0, "Iso"},
        {0, 3, 0, 5, utf16be(u"Version 1.0")},
        {1, 0, 0, 4, "Caf\x8E"}, // a Macintosh byte shown as the Windows-1252 character
        {3, 1, 0x0409, 10, utf16be(u"Line one\r\nLine two")},
    };
    const runtime::FontReport result = report(names);
    EXPECT_FALSE(result.fileListStale);
    EXPECT_EQ(result.text, title() + "Name Records | 10\r\n"
                                     "Mac ENG Font Name | Example Sans\r\n"
                                     "Win Unicode ENU Full Font Name | Example Sans Bold\r\n"
                                     " 0411 Full Font Name | Full Unicode\r\n"
                                     "Win Unicode FRC No label\r\n"
                                     "Win Unicode ENU Big ID\r\n"
                                     "ISO ENG Copyright | Iso\r\n"
                                     "Apple Unicode ENG Version | Version 1.0\r\n"
                                     "Mac ENG Full Font Name | Caf\xC5\xBD\r\n"
                                     "Win Unicode ENU Description | Line one\r\nLine two\r\n");
}

TEST_F(Report, EmptyTableShowsOnlyTheHeaderLines) {
    EXPECT_EQ(report(NameTableLayout{}).text, title() + "Name Records | 0\r\n");
}

TEST_F(Report, AnyOverflowReplacesTheWholeReport) {
    const std::string failure = "Overflow error encountered while reading font: \r\n" +
                                dir.file("font.ttf") +
                                "\r\nIf possible, please report problem to "
                                "support@quillvane.example.org . Thanks!";
    // A format 1 table whose Unicode record has a language ID of 0x8000: nothing before it
    // is shown.
    NameTableLayout format1;
    format1.format = 1;
    format1.records = {{3, 1, 0x0409, 4, utf16be(u"Fine")}, {0, 4, 0x8000, 1, utf16be(u"Tag")}};
    format1.languageTags = {utf16be(u"en-US")};
    EXPECT_EQ(report(format1).text, failure);

    // Unlike the lookup, the report reads the string of every record.
    NameTableLayout longString;
    NameRecordLayout copyright{3, 1, 0x0409, 0, utf16be(u"(c)")};
    copyright.length = 0x8000;
    longString.records = {copyright};
    EXPECT_EQ(report(longString).text, failure);

    EXPECT_EQ(truetype::TTReport(dir.write("font.ttf", "not a font at all")).text, failure);
}

TEST_F(Report, FileThatHasGoneAsksForTheListToBeReadAgain) {
    const runtime::FontReport result = truetype::TTReport(dir.file("gone.ttf"));
    EXPECT_TRUE(result.fileListStale);
    EXPECT_EQ(result.text, "File not found. Fonts in directory may have been moved while app was "
                           "open.\r\nIf problem persists, please report to "
                           "support@quillvane.example.org . Thanks!");
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.ttf")));
}

TEST_F(Report, RealFontHasItsFullNameAmongItsLines) {
    const std::string path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "DejaVu fonts not installed";
    }
    const std::string text = truetype::TTReport(path).text;
    EXPECT_EQ(text.rfind("NAME Table Info for " + path + "\r\nName Records | ", 0), 0u);
    EXPECT_NE(text.find("\r\nWin Unicode ENU Full Font Name | DejaVu Sans\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nMac ENG Font Name | DejaVu Sans\r\n"), std::string::npos);
}

} // namespace
