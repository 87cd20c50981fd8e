// Mac data-fork suitcases: the first font's name, every font's report under its heading, and
// what a damaged resource map gives.
#include "fontlist/FontTypes.h"
#include "platform/FontFileReader.h"
#include "truetype/NameTableReport.h"

#include <cstdint>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using testsupport::dataForkSuitcase;
using testsupport::SuitcaseLayout;

// A font of two records: the lookup takes the Windows one, and the report shows both.
const std::string kAlpha = testsupport::trueTypeFont(
    {.records = {{.platform = 1, .encoding = 0, .language = 0, .bytes = "Alpha Mac"},
                 {.bytes = testsupport::utf16be(u"Alpha Sans")}}});
const std::string kBeta = testsupport::trueTypeFontNamed(u"Beta Serif");

// The report of the font file's bytes as a font file of its own, titled with path.
std::string trueTypeReport(const std::string& bytes, const std::string& path) {
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return truetype::TTReportFromReader(reader, path).text;
}

TEST(Suitcase, IsNamedAfterItsFirstFontAndReportedFontByFont) {
    testsupport::TempDir dir;
    const std::string path = dir.write("fonts.dfont", dataForkSuitcase({.fonts = {kAlpha, kBeta}}));
    EXPECT_EQ(fontlist::nameOf(path).value().text(), "Alpha Sans");
    const fontcore::FontReport report = fontlist::reportOf(path).value();
    EXPECT_FALSE(report.fileListStale);
    EXPECT_EQ(report.text, "Font 1 of 2\r\n" + trueTypeReport(kAlpha, path) + "Font 2 of 2\r\n" +
                               trueTypeReport(kBeta, path));
    const std::string beta = dir.write("beta.dfont", dataForkSuitcase({.fonts = {kBeta}}));
    EXPECT_EQ(fontlist::nameOf(beta).value().text(), "Beta Serif");
}

TEST(Suitcase, ADamagedMapGivesAFailureNeverACrash) {
    const std::string good = dataForkSuitcase({.fonts = {kAlpha, kBeta}});
    const SuitcaseLayout cases[] = {
        {.fonts = {kAlpha}, .mapOffset = 0xFFFFFFF0},
        {.fonts = {kAlpha}, .typeCountLessOne = 0xFFFF},
        {.fonts = {kAlpha}, .fontCountLessOne = 0xFFFF},
        {.fonts = {kAlpha}, .lastFontLength = 0xFFFFFFFF},
        {.fonts = {kAlpha}, .fontType = "FONT"}, // no sfnt resource
    };
    testsupport::TempDir dir;
    const std::string path = dir.file("fonts.dfont");
    const std::string overflow = "Overflow error encountered while reading font: \r\n" + path +
                                 "\r\nIf possible, please report problem to "
                                 "support@quillvane.example.org . Thanks!";
    const auto expectOverflow = [&](const std::string& bytes, const std::string& what) {
        dir.write("fonts.dfont", bytes);
        EXPECT_EQ(fontlist::nameOf(path).value().text(), "error: Overflow") << what;
        EXPECT_EQ(fontlist::reportOf(path).value().text, overflow) << what;
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        expectOverflow(dataForkSuitcase(cases[i]), "case " + std::to_string(i));
    }
    expectOverflow(good.substr(0, good.size() - 1), "the map cut short");
    expectOverflow(good.substr(0, 15), "the header cut short");
    expectOverflow("", "an empty file");
    expectOverflow(kAlpha, "a font file, not a suitcase");

    // The second font's length runs past the end: the name is the first font's, the report fails.
    dir.write("fonts.dfont", dataForkSuitcase({.fonts = {kAlpha, kBeta}, .lastFontLength = 1000}));
    EXPECT_EQ(fontlist::nameOf(path).value().text(), "Alpha Sans");
    EXPECT_EQ(fontlist::reportOf(path).value().text, overflow);
}

// 65,535 fonts of eight records each: 11 MB of file whose report reads some 590,000 directory
// entries and name records, each once. A file that backs what it asks for is reported in full.
TEST(Suitcase, SixtyFiveThousandSmallFontsAreReportedInFull) {
    testsupport::NameTableLayout names;
    for (std::uint16_t id = 0; id < 8; ++id) {
        names.records.push_back({.nameId = id, .bytes = testsupport::utf16be(u"Ab")});
    }
    const std::string font =
        testsupport::trueTypeBytes({{{"name", testsupport::nameTableBytes(names), {}}}});
    testsupport::TempDir dir;
    const std::string path =
        dir.write("many.dfont", dataForkSuitcase({.fonts = std::vector<std::string>(65535, font)}));

    const std::string text = fontlist::reportOf(path).value().text;
    const std::string last = "Font 65535 of 65535\r\n" + trueTypeReport(font, path);
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(0, 19), "Font 1 of 65535\r\nNA");
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

} // namespace
