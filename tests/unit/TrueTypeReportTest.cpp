// The details-pane report of a TrueType file, line by line, and its two failure texts.
#include "truetype/NameTableReport.h"

#include "truetype/NameTableReader.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fontcore/FontReport.h"
#include "platform/FontFileReader.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::utf16be;

struct Report : ::testing::Test {
    testsupport::TempDir dir;
    fontcore::FontReport report(const NameTableLayout& names) {
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
    const fontcore::FontReport result = report(names);
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
    const fontcore::FontReport result = truetype::TTReport(dir.file("gone.ttf"));
    EXPECT_TRUE(result.fileListStale);
    EXPECT_EQ(result.text, "File not found. Fonts in directory may have been moved while app was "
                           "open.\r\nIf problem persists, please report to "
                           "support@quillvane.example.org . Thanks!");
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.ttf")));
}

// The `name` table of C059-Bold.otf from Debian's fonts-urw-base35, as fontTools reads it, behind
// an offset table and a directory entry written here by hand. The font writers of the other
// tests share the reader's layout of these structures; this font does not, so a wrong offset
// there fails here.
std::vector<std::uint8_t> realFont() {
    const std::string hex =
        // offset table: version 1.0, one table; directory entry "name" at 28, 504 bytes
        "000100000001001000000000"
        "6e616d65acb2a9590000001c000001f8"
        // name header: format 0, 14 records, storage at 174
        "0000000e00ae"
        // name records: platform, encoding, language, name ID, length, offset
        "000100000000000000360000"
        "000100000000000100040036"
        "00010000000000020004003a"
        "00010000000000030012003e"
        "000100000000000400090050"
        "0001000000000005000c0059"
        "000100000000000600090065"
        "0003000104090000006c006e"
        "0003000104090001000800da"
        "0003000104090002000800e2"
        "0003000104090003002400ea"
        "00030001040900040012010e"
        "000300010409000500180120"
        "000300010409000600120138"
        // storage: the Macintosh strings, then the Windows ones in UTF-16BE
        "28555257292b2b2c436f7079726967687420323031342062792028555257292b2b2044657369676e20262044"
        "6576656c6f706d656e7443303539426f6c645552573a433035392d426f6c643a323031364330353920426f6c"
        "6456657273696f6e20312e3030433035392d426f6c6400280055005200570029002b002b002c0043006f0070"
        "00790072006900670068007400200032003000310034002000620079002000280055005200570029002b002b"
        "002000440065007300690067006e0020002600200044006500760065006c006f0070006d0065006e00740043"
        "0030003500390042006f006c0064005500520057003a0043003000350039002d0042006f006c0064003a0032"
        "0030003100360043003000350039002d0042006f006c006400560065007200730069006f006e00200031002e"
        "003000300043003000350039002d0042006f006c0064";
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

TEST(RealNameTable, GivesTheNameAndLinesThatFontToolsReads) {
    const std::vector<std::uint8_t> font = realFont();
    ASSERT_EQ(font.size(), 28u + 504u);
    platform::FontFileReader reader(font);
    // The Macintosh record says "C059 Bold"; the Windows record, read last, wins.
    EXPECT_EQ(truetype::TTEnglishNameFromReader(reader).text(), "C059-Bold");
    EXPECT_EQ(truetype::TTReportFromReader(reader, "C059-Bold.otf").text,
              "NAME Table Info for C059-Bold.otf\r\n"
              "Name Records | 14\r\n"
              "Mac ENG Copyright | (URW)++,Copyright 2014 by (URW)++ Design & Development\r\n"
              "Mac ENG Font Name | C059\r\n"
              "Mac ENG Style/Weight | Bold\r\n"
              "Mac ENG Font ID | URW:C059-Bold:2016\r\n"
              "Mac ENG Full Font Name | C059 Bold\r\n"
              "Mac ENG Version | Version 1.00\r\n"
              "Mac ENG Postscript Name | C059-Bold\r\n"
              "Win Unicode ENU Copyright | (URW)++,Copyright 2014 by (URW)++ Design & "
              "Development\r\n"
              "Win Unicode ENU Font Name | C059\r\n"
              "Win Unicode ENU Style/Weight | Bold\r\n"
              "Win Unicode ENU Font ID | URW:C059-Bold:2016\r\n"
              "Win Unicode ENU Full Font Name | C059-Bold\r\n"
              "Win Unicode ENU Version | Version 1.00\r\n"
              "Win Unicode ENU Postscript Name | C059-Bold\r\n");
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
