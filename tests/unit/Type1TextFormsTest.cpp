// ASCII (.pfa) and Unix (.t1) Type 1 fonts, whose header window starts at the first byte.
#include "fontlist/FontTypes.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/PfbWriter.h"
#include "support/TempDir.h"

namespace {

// The report of the file at path with the path it shows left out.
std::string reportWithoutPath(const std::string& path) {
    std::string report = fontlist::reportOf(path).value().text;
    for (auto at = report.find(path); at != std::string::npos; at = report.find(path)) {
        report.erase(at, path.size());
    }
    return report;
}

TEST(Type1TextForms, ReadAsThePfbOfTheSameClearText) {
    testsupport::TempDir dir;
    for (const std::string& clearText : {testsupport::typicalClearText("Text Sans Bold"),
                                         std::string("%!PS-AdobeFont-1.0: X\n11 dict begin\n")}) {
        const std::string pfb = dir.write("a.pfb", testsupport::pfbFont(clearText));
        for (const std::string& path : {dir.write("a.pfa", testsupport::pfaFont(clearText)),
                                        dir.write("a.T1", testsupport::unixType1Font(clearText))}) {
            EXPECT_EQ(fontlist::nameOf(path).value().text(), fontlist::nameOf(pfb)->text()) << path;
            EXPECT_EQ(reportWithoutPath(path), reportWithoutPath(pfb)) << path;
        }
    }
}

// Debian's URW fonts in Unix form, against their FontInfo entries as fontTools' t1Lib reads
// them: the full name, then version, FullName, FamilyName and Weight.
TEST(Type1TextForms, RealUnixFontsReadAsFontToolsReadsThem) {
    const std::string dir = "/usr/share/fonts/type1/urw-base35/";
    if (!std::filesystem::exists(std::filesystem::path(dir) / "C059-Italic.t1")) {
        GTEST_SKIP() << "the URW base 35 fonts in Unix form (fonts-urw-base35) are not installed";
    }
    const struct {
        const char *file, *name, *entries;
    } fonts[] = {
        {"C059-Italic.t1", "C059 Italic", "\r\n1.00\r\nC059 Italic\r\nC059\r\nRoman\r\n"},
        {"StandardSymbolsPS.t1", "Standard Symbols PS",
         "\r\n2.00\r\nStandard Symbols PS\r\nStandard Symbols PS\r\nRegular\r\n"},
    };
    for (const auto& font : fonts) {
        EXPECT_EQ(fontlist::nameOf(dir + font.file).value().text(), font.name);
        EXPECT_TRUE(fontlist::reportOf(dir + font.file).value().text.ends_with(font.entries))
            << font.file;
    }
}

} // namespace
