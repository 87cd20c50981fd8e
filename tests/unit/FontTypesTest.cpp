#include "fontlist/FontTypes.h"

#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/WoffWriter.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(FontTypes, ByTheEndOfTheNameWithoutRegardToCase) {
    const std::pair<std::string_view, std::vector<const char*>> cases[] = {
        {"ttf", {"arial.ttf", "FONT.TTF", ".ttf", "/dir.pfb/x.Ttf", "é.ttf", "x.otc.ttf"}},
        {"otf", {"a.otf", "A.OTF"}},
        {"ttc", {"x.ttc", "X.OtC"}},
        {"dfont", {"x.dfont", "X.DFont"}},
        {"woff", {"x.woff", "X.WOFF2"}},
        {"pfb", {"cour.pfb", "COUR.PFB"}},
        {"pfa", {"cour.pfa", "C059-Roman.T1"}},
        {"", {"cour.pfm", "arial.ttf.bak", "ttf", "", "x.woff3", "x.ttcf", "x.t1a", "x.font"}},
    };
    for (const auto& [expected, names] : cases) {
        for (const char* name : names) {
            const fontlist::FontType* type = fontlist::fontTypeOf(name);
            EXPECT_EQ(type == nullptr ? "" : type->filterValue, expected) << name;
        }
    }
}

// A type added to the table must join "all", with extensions of its own.
TEST(FontTypes, TheAllFilterTakesEveryTypeOnce) {
    std::set<std::string> ofTypes;
    for (const fontlist::FontType& type : fontlist::fontTypes()) {
        for (const std::string_view extension : type.extensions) {
            EXPECT_TRUE(ofTypes.insert("*" + std::string(extension)).second) << extension;
        }
    }
    std::set<std::string> all;
    std::istringstream patterns(fontlist::typeFilters().back().patterns);
    for (std::string pattern; std::getline(patterns, pattern, ';');) {
        EXPECT_TRUE(all.insert(pattern).second) << pattern;
    }
    EXPECT_EQ(all, ofTypes);
}

// The file's name, not its bytes, chooses the reader; a file of no type is not opened.
TEST(FontTypes, NameAndReportComeFromTheReaderOfTheType) {
    testsupport::TempDir dir;
    const std::string sfnt = testsupport::trueTypeFontNamed(u"Alpha Sans");
    const std::string invalid = "Invalid procedure call or argument";
    const struct {
        const char* file;
        std::string bytes, name, reportStart;
    } cases[] = {
        {"a.ttf", sfnt, "Alpha Sans", "NAME Table Info for "},
        {"a.OTF", testsupport::openTypeFont(sfnt), "Alpha Sans", "NAME Table Info for "},
        {"a.ttc", testsupport::fontCollection({.fonts = {sfnt, sfnt}}), "Alpha Sans",
         "Font 1 of 2\r\nNAME Table Info for "},
        {"b.pfb", testsupport::pfbFont(testsupport::typicalClearText("Beta Bold")), "Beta Bold",
         "Name info for "},
        {"sfnt.pfb", sfnt, "error: " + invalid, invalid + " error encountered while reading"},
        {"a.woff", testsupport::woffFont(sfnt), "Alpha Sans", "NAME Table Info for "},
        {"sfnt.woff", sfnt, "error: Overflow", "Overflow error encountered while reading"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.write(c.file, c.bytes);
        EXPECT_EQ(fontlist::nameOf(path).value().text(), c.name) << c.file;
        EXPECT_TRUE(fontlist::reportOf(path).value().text.starts_with(c.reportStart)) << c.file;
    }
    EXPECT_EQ(fontlist::nameOf(dir.file("gone.txt")), std::nullopt);
    EXPECT_FALSE(fontlist::reportOf(dir.file("gone.txt")).has_value());
}

} // namespace
