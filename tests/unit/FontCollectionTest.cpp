// OpenType fonts and font collections: the first font's name, the report of every font under
// its heading, and what a damaged collection header gives.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fontlist/FontTypes.h"
#include "fontlist/ReadableNames.h"
#include "support/CollectionWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using testsupport::CollectionLayout;
using testsupport::fontCollection;
using testsupport::trueTypeFontNamed;

const std::string kAlpha = trueTypeFontNamed(u"Alpha Sans");
const std::string kBeta = trueTypeFontNamed(u"Beta Serif");

TEST(FontCollection, TheNameIsThatOfTheFirstFontTheHeaderLists) {
    const std::string twoFonts = fontCollection({.fonts = {kAlpha, kBeta}});
    // Where each font lies, from the two-font collection's own header: 12 + 2 * 4 bytes, then
    // the fonts.
    const std::uint32_t alphaAt = 20;
    const auto betaAt = static_cast<std::uint32_t>(20 + (kAlpha.size() + 3) / 4 * 4);
    CollectionLayout betaFirst{.fonts = {kAlpha, kBeta}, .offsets = {betaAt, alphaAt}};
    CollectionLayout version2{.fonts = {kBeta, kAlpha}, .version = 0x00020000};
    CollectionLayout noFonts{.fonts = {kAlpha}, .count = 0};
    CollectionLayout countPastTheEnd{.fonts = {kAlpha}, .count = 0x10000};
    CollectionLayout firstPastTheEnd{.fonts = {kAlpha}, .offsets = {0x7FFFFFF0}};
    const struct {
        const char* what;
        std::string bytes;
        std::string name;
    } cases[] = {
        {"two fonts", twoFonts, "Alpha Sans"},
        {"the header's order, not the storage's", fontCollection(betaFirst), "Beta Serif"},
        {"a version 2 header", fontCollection(version2), "Beta Serif"},
        {"no ttcf tag: a lone font", kBeta, "Beta Serif"},
        {"an OpenType font in a collection",
         fontCollection({.fonts = {testsupport::openTypeFont(kAlpha)}}), "Alpha Sans"},
        {"a count of 0", fontCollection(noFonts), "error: Overflow"},
        {"offsets that run past the end", fontCollection(countPastTheEnd), "error: Overflow"},
        {"the first font past the end", fontCollection(firstPastTheEnd), "error: Overflow"},
        {"a header cut short", twoFonts.substr(0, 14), "error: Overflow"},
        {"an empty file", "", "error: Overflow"},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(fontlist::nameOf(dir.write("fonts.ttc", c.bytes)).value().text(), c.name)
            << c.what;
    }
    EXPECT_EQ(fontlist::nameOf(dir.file("gone.ttc")).value().text(), "error: File not found");
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.ttc")));
}

TEST(FontCollection, AnOpenTypeFontIsReadAsATrueTypeFont) {
    testsupport::TempDir dir;
    const std::string path = dir.write("font.otf", testsupport::openTypeFont(kBeta));
    EXPECT_EQ(fontlist::nameOf(path).value().text(), "Beta Serif");
    EXPECT_EQ(fontlist::reportOf(path).value().text,
              "NAME Table Info for " + path +
                  "\r\nName Records | 1\r\n"
                  "Win Unicode ENU Full Font Name | Beta Serif\r\n");
}

TEST(FontCollection, TheReportShowsEveryFontUnderItsHeading) {
    testsupport::TempDir dir;
    const std::string path = dir.write("fonts.ttc", fontCollection({.fonts = {kAlpha, kBeta}}));
    const std::string title = "NAME Table Info for " + path + "\r\nName Records | 1\r\n";
    const fontcore::FontReport report = fontlist::reportOf(path).value();
    EXPECT_FALSE(report.fileListStale);
    EXPECT_EQ(report.text, "Font 1 of 2\r\n" + title +
                               "Win Unicode ENU Full Font Name | Alpha Sans\r\n"
                               "Font 2 of 2\r\n" +
                               title + "Win Unicode ENU Full Font Name | Beta Serif\r\n");
}

TEST(FontCollection, ADamagedFontOrHeaderReplacesTheWholeReport) {
    testsupport::TempDir dir;
    const std::string path = dir.file("fonts.ttc");
    const std::string overflow = "Overflow error encountered while reading font: \r\n" + path +
                                 "\r\nIf possible, please report problem to "
                                 "support@quillvane.example.org . Thanks!";
    // The second font lies past the end: its directory search overflows.
    CollectionLayout secondPastTheEnd{.fonts = {kAlpha}, .count = 2, .offsets = {20, 0x7FFFFFF0}};
    dir.write("fonts.ttc", fontCollection(secondPastTheEnd));
    EXPECT_EQ(fontlist::reportOf(path).value().text, overflow);
    dir.write("fonts.ttc", fontCollection({.fonts = {kAlpha}, .count = 0}));
    EXPECT_EQ(fontlist::reportOf(path).value().text, overflow);

    const fontcore::FontReport gone = fontlist::reportOf(dir.file("gone.ttc")).value();
    EXPECT_TRUE(gone.fileListStale);
    EXPECT_EQ(gone.text.rfind("File not found. ", 0), 0u);
}

// Real fonts from Debian packages that the setup installs; the names are those of the record
// the lookup's rule picks (the last Windows full-name record), as fontTools reads it.
TEST(FontCollection, RealOpenTypeFontsAndCollectionsGiveTheirFullNames) {
    const struct {
        const char* path;
        std::string name;
    } fonts[] = {
        {"/usr/share/fonts/opentype/urw-base35/C059-BdIta.otf", "C059-BdIta"},
        {"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", "NimbusSans-Regular"},
        {"/usr/share/fonts/opentype/urw-base35/URWGothic-Book.otf", "URWGothic-Book"},
        // Its last Windows record is Chinese (0x1404): UTF-16 code units read byte by byte as
        // Windows-1252 without their NULs, as for any TrueType font.
        {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
         "e\xE2\x80\xA1l\xC3\x89\xC5\xA1[_\xC2\xAE|s\xC5\xBE\xC3\x91"},
    };
    int read = 0;
    for (const auto& font : fonts) {
        if (!std::filesystem::exists(font.path)) {
            continue;
        }
        const std::string path = font.path;
        EXPECT_EQ(fontlist::nameOf(path).value().text(), font.name) << path;
        ++read;
    }
    if (read == 0) {
        GTEST_SKIP() << "no URW base35 or WenQuanYi fonts installed";
    }
    const std::string wqy = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
    if (std::filesystem::exists(wqy)) {
        // Readable: the same record read as UTF-16 (as fontTools reads it) in its own language,
        // Chinese (Macao); the US English one otherwise.
        EXPECT_EQ(fontlist::nameOf(wqy, fontlist::readableNamesIn("zh_MO")).value().text(),
                  "文泉驛微米黑");
        EXPECT_EQ(fontlist::nameOf(wqy, fontcore::NameDecoding::Readable).value().text(),
                  "WenQuanYi Micro Hei");
        const std::string text = fontlist::reportOf(wqy).value().text;
        EXPECT_EQ(text.rfind("Font 1 of 2\r\nNAME Table Info for " + wqy, 0), 0u);
        EXPECT_NE(text.find("\r\nWin Unicode ENU Full Font Name | WenQuanYi Micro Hei\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find("\r\nFont 2 of 2\r\n"), std::string::npos);
        EXPECT_NE(text.find("\r\nWin Unicode ENU Full Font Name | WenQuanYi Micro Hei Mono\r\n"),
                  std::string::npos);
    }
}

} // namespace
