#include "type1/HeaderReport.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/FontFileReader.h"
#include "support/PfbWriter.h"
#include "support/TempDir.h"
#include "type1/HeaderWindow.h"

namespace {

using namespace std::string_literals;
using testsupport::pfbFont;
using testsupport::pfbSegment;
using testsupport::PfbSegmentType;
using testsupport::typicalClearText;

constexpr std::string_view kSupport = "support@quillvane.example.org";

std::string utf8(const char8_t* literal) {
    return std::string(reinterpret_cast<const char*>(literal));
}

// The report of a file made of one clear-text segment and nothing else, so that no byte after
// it can complete a search.
fontcore::FontReport reportOf(std::string_view clearText, const std::string& path) {
    const std::string file = pfbSegment(PfbSegmentType::ClearText, clearText);
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
    return type1::T1ReportFromReader(reader, path);
}

std::string generalFailure(std::string_view description, std::string_view path) {
    return std::string(description) + " error encountered while reading font: \r\n" +
           std::string(path) + "\r\nIf possible, please report problem to " +
           std::string(kSupport) + " . Thanks!";
}

TEST(Type1Report, WellFormedFontGivesTitleHeaderAndFourValues) {
    testsupport::TempDir dir;
    const std::string path = dir.write(
        "font.pfb", pfbFont(typicalClearText("Test Sans Bold", "Test Sans", "Bold", "002.000")));
    const fontcore::FontReport report = type1::T1Report(path);
    EXPECT_EQ(report.text, "Name info for " + path +
                               "\r\n"
                               "PS-AdobeFont-1.0: TestSansBold 002.000\r\n"
                               "%%CreationDate: Mon Jan  1 00:00:00 2024\r\n"
                               "% Written by the Quillvane test suite\r\n"
                               "11 dict begin\r\n"
                               "002.000\r\n"
                               "Test Sans Bold\r\n"
                               "Test Sans\r\n"
                               "Bold\r\n");
    EXPECT_FALSE(report.fileListStale);
}

TEST(Type1Report, HeaderAndValuesForEachShapeOfHeader) {
    const std::string path = "/fonts/sample.pfb";
    const std::string title = "Name info for " + path + "\r\n";
    const std::string values = "/version (1) /FullName (F) /FamilyName (G) /Weight (W)";
    const std::string valueLines = "1\r\nF\r\nG\r\nW\r\n";
    const struct {
        std::string_view label;
        std::string clearText;
        std::string expected;
    } cases[] = {
        {"lines end in CR", "%!PS-AdobeFont-1.0: A\r% c\r5 dict begin\r" + values,
         title + "PS-AdobeFont-1.0: A\r\n% c\r\n5 dict begin\r\n" + valueLines},
        {"lines end in LF", "%!PS-AdobeFont-1.0: A\n% c\n5 dict begin\n" + values,
         title + "PS-AdobeFont-1.0: A\n% c\n5 dict begin\r\n" + valueLines},
        {"lines end in CR LF", "%!PS-AdobeFont-1.0: A\r\n% c\r\n5 dict begin\r\n" + values,
         title + "PS-AdobeFont-1.0: A\r\n\n% c\r\n\n5 dict begin\r\n" + valueLines},
        {"begin in a comment",
         "%!PS-AdobeFont-1.0: A\r%%BeginResource: font A\r5 dict begin\r" + values,
         title + "PS-AdobeFont-1.0: A\r\n%%Begin\r\n" + valueLines},
        {"BEGIN in capitals", "%!PS BEGIN " + values, title + "PS BEGIN\r\n" + valueLines},
        // Without a "begin" the count is 3 - p: one byte after a "%!" at the window's second
        // character, none after one at its third.
        {"no begin, %! first", "%!PS-AdobeFont-1.0: A\r" + values, title + "P\r\n" + valueLines},
        {"no begin, %! second", " %!PS-AdobeFont-1.0: A\r" + values, title + "\r\n" + valueLines},
        {"no begin, %! third", "  %!PS-AdobeFont-1.0: A\r" + values,
         generalFailure("Invalid procedure call or argument", path)},
        {"no %!", "PS-AdobeFont-1.0: A\r5 dict begin\r" + values,
         generalFailure("Invalid procedure call or argument", path)},
        {"empty values", "%!PS begin /version () /FullName () /FamilyName () /Weight ()",
         title + "PS begin\r\n\r\n\r\n\r\n\r\n"},
        // A missing entry fails the report; the values found before it are not shown.
        {"no /Weight", "%!PS begin /version (1) /FullName (F) /FamilyName (G)",
         generalFailure("Invalid procedure call or argument", path)},
        {"no /version", "%!PS begin /FullName (F) /FamilyName (G) /Weight (W)",
         generalFailure("Invalid procedure call or argument", path)},
        {"Windows-1252",
         "%!PS \xC9t\xE9 begin /version (1) /FullName (\x80) /FamilyName (G) "
         "/Weight (\xE9\r)",
         title + utf8(u8"PS Été begin\r\n1\r\n€\r\nG\r\né\r") + "\r\n"},
    };
    for (const auto& c : cases) {
        const fontcore::FontReport report = reportOf(c.clearText, path);
        EXPECT_EQ(report.text, c.expected) << c.label;
        EXPECT_FALSE(report.fileListStale) << c.label;
    }
}

fontcore::FontReport reportOfBytes(std::string_view bytes) {
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return type1::T1ReportFromReader(reader, "x.pfb");
}

// A small file is searched over its own bytes rather than over the header window with its zero
// bytes past the end; a file padded with zeros past the window gives the same report.
TEST(Type1Report, SmallFilesReportAsIfPaddedWithZeros) {
    const std::string_view pieces[] = {"%!", "begin",   "/version", "/FullName",   "(", ")",
                                       " ",  "/Weight", "\r",       "/FamilyName", "x"};
    std::mt19937 random(99);
    int finished = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes(random() % 8, '\x80');
        const int count = static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            if (random() % 5 == 0) {
                bytes.push_back(static_cast<char>(random() % 256));
            } else {
                bytes += pieces[random() % std::size(pieces)];
            }
        }
        std::string padded = bytes;
        padded.resize(3100, '\0');
        const fontcore::FontReport report = reportOfBytes(bytes);
        EXPECT_EQ(report.text, reportOfBytes(padded).text) << bytes;
        finished += report.text.starts_with("Name info") ? 1 : 0;
    }
    EXPECT_GT(finished, 50); // the rounds reach finished reports, not only failures
}

TEST(Type1Report, PathIsShownAsItIsAndOnlyFontBytesAreDecoded) {
    testsupport::TempDir dir;
    const std::string path = dir.write(utf8(u8"Schrift Äöü.pfb"), pfbFont(typicalClearText("X")));
    EXPECT_TRUE(type1::T1Report(path).text.starts_with("Name info for " + path + "\r\n"));
    // The failure text names the path unchanged too.
    const std::string broken = dir.write(utf8(u8"Kaputt €.pfb"), "no header");
    EXPECT_EQ(type1::T1Report(broken).text,
              generalFailure("Invalid procedure call or argument", broken));
}

TEST(Type1Report, FileGoneSinceListingAsksForTheListToBeReadAgain) {
    testsupport::TempDir dir;
    const std::string path = dir.write("gone.pfb", pfbFont(typicalClearText("Gone")));
    std::filesystem::remove(path);
    const fontcore::FontReport report = type1::T1Report(path);
    EXPECT_EQ(report.text, "File not found. Fonts in directory may have been moved while app was "
                           "open.\r\nIf problem persists, please report to " +
                               std::string(kSupport) + " . Thanks!");
    EXPECT_TRUE(report.fileListStale);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Type1Report, UnreadablePathGivesTheGeneralFailureText) {
    testsupport::TempDir dir;
    const fontcore::FontReport report = type1::T1Report(dir.str());
    EXPECT_EQ(report.text, generalFailure("Path/File access error", dir.str()));
    EXPECT_FALSE(report.fileListStale);
}

// --- A font installed on the system ----------------------------------------------------------

const std::filesystem::path kSystemType1 = "/usr/share/fonts/X11/Type1";

TEST(Type1RealFonts, ReportOfAnInstalledFont) {
    const std::string path = (kSystemType1 / "C059-Bold.pfb").string();
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "the URW base 35 Type 1 fonts are not installed";
    }
    const std::string text = type1::T1Report(path).text;
    // The header's lines end in LF alone and are shown as they are.
    EXPECT_TRUE(text.starts_with("Name info for " + path +
                                 "\r\nPS-AdobeFont-1.0: C059-Bold 1.00\n%%CreationDate:"))
        << text;
    EXPECT_TRUE(text.ends_with("\n10 dict begin\r\n1.00\r\nC059 Bold\r\nC059\r\nBold\r\n")) << text;
}

// --- Resources -------------------------------------------------------------------------------

std::ptrdiff_t openFileCount() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
}

TEST(Type1Files, AreClosedAgainOnEveryPath) {
#ifdef _WIN32
    GTEST_SKIP() << "open files are counted in /proc/self/fd";
#endif
    if (!std::filesystem::exists("/proc/self/fd")) {
        GTEST_SKIP() << "no /proc/self/fd to count open files";
    }
    testsupport::TempDir dir;
    const std::string paths[] = {
        dir.write("good.pfb", pfbFont(typicalClearText("Good"))),
        dir.write("no-name.pfb", "%!PS begin nothing here"),
        dir.write("reversed.pfb", "%!PS begin /FullName x) (y"),
        dir.write("empty.pfb", ""),
        dir.file("missing.pfb"),
        dir.str(),
    };
    const std::ptrdiff_t before = openFileCount();
    for (int round = 0; round < 200; ++round) {
        for (const std::string& path : paths) {
            type1::T1Name(path);
            type1::T1Report(path);
        }
    }
    EXPECT_EQ(openFileCount(), before);
}

} // namespace
