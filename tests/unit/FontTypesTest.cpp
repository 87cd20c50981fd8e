#include "fontlist/FontTypes.h"

#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace {

// The type's --filter value, which names it; empty for no type.
std::string typeNamed(const char* path) {
    const fontlist::FontType* type = fontlist::fontTypeOf(path);
    return type == nullptr ? "" : std::string(type->filterValue);
}

TEST(FontTypes, ByTheEndOfTheNameWithoutRegardToCase) {
    const struct {
        const char* name;
        const char* type;
    } cases[] = {
        {"arial.ttf", "ttf"}, {"FONT.TTF", "ttf"},
        {".ttf", "ttf"},      {"/dir.pfb/x.Ttf", "ttf"},
        {"cour.pfb", "pfb"},  {"COUR.PFB", "pfb"},
        {"cour.pfm", ""},     {"arial.ttf.bak", ""},
        {"ttf", ""},          {"", ""},
        {"x.woff", ""},       {"é.ttf", "ttf"},
        {"a.otf", "otf"},     {"A.OTF", "otf"},
        {"x.ttc", "ttc"},     {"X.OtC", "ttc"},
        {"x.otc.ttf", "ttf"}, {"x.ttcf", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(typeNamed(c.name), c.type) << c.name;
    }
}

// Every type can be chosen alone and under "all", and no extension belongs to two types.
TEST(FontTypes, TheTypeFilterCoversEveryTypeOnce) {
    const std::vector<fontlist::TypeFilter>& filters = fontlist::typeFilters();
    ASSERT_EQ(filters.size(), fontlist::fontTypes().size() + 2);
    EXPECT_EQ(filters.front().entry, "Both font types (*.ttf;*.pfb)");
    EXPECT_EQ(filters.back().value, "all");
    std::multiset<std::string> all;
    for (std::string patterns = filters.back().patterns + ";"; !patterns.empty();) {
        all.insert(patterns.substr(1, patterns.find(';') - 1)); // without the "*"
        patterns.erase(0, patterns.find(';') + 1);
    }
    std::multiset<std::string> ofTypes;
    std::set<std::string_view> values;
    for (const fontlist::FontType& type : fontlist::fontTypes()) {
        ofTypes.insert(type.extensions.begin(), type.extensions.end());
        EXPECT_TRUE(values.insert(type.filterValue).second) << type.filterValue;
        const auto alone =
            std::ranges::find(filters, type.filterValue, &fontlist::TypeFilter::value);
        ASSERT_NE(alone, filters.end()) << type.filterValue;
        EXPECT_EQ(alone->entry, std::string(type.filterName) + " (" + alone->patterns + ")");
    }
    EXPECT_EQ(all, ofTypes);
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    EXPECT_EQ(fontlist::fontExtensionsText(), ".ttf, .otf, .ttc, .otc or .pfb");
}

// The file's name, not its bytes, chooses the reader; a file of no type is not even opened.
TEST(FontTypes, NameAndReportGoToTheReaderOfTheType) {
    testsupport::TempDir dir;
    const std::string sfnt = testsupport::trueTypeFontNamed(u"Alpha Sans");
    const std::string pfb = testsupport::pfbFont(testsupport::typicalClearText("Beta Bold"));
    const struct {
        const char* file;
        std::string bytes;
        std::string name;
        std::string reportStart;
    } cases[] = {
        {"a.ttf", sfnt, "Alpha Sans", "NAME Table Info for "},
        {"a.OTF", testsupport::openTypeFont(sfnt), "Alpha Sans", "NAME Table Info for "},
        {"a.ttc", testsupport::fontCollection({.fonts = {sfnt, sfnt}}), "Alpha Sans",
         "Font 1 of 2\r\nNAME Table Info for "},
        {"b.pfb", pfb, "Beta Bold", "Name info for "},
        {"sfnt.pfb", sfnt, "error: Invalid procedure call or argument",
         "Invalid procedure call or argument error encountered while reading font: "},
    };
    for (const auto& c : cases) {
        const std::string path = dir.write(c.file, c.bytes);
        EXPECT_EQ(fontlist::nameOf(path).value().text(), c.name) << c.file;
        EXPECT_TRUE(fontlist::reportOf(path).value().text.starts_with(c.reportStart))
            << fontlist::reportOf(path).value().text;
    }
    EXPECT_EQ(fontlist::nameOf(dir.write("notes.txt", sfnt)), std::nullopt);
    EXPECT_EQ(fontlist::reportOf(dir.write("notes.txt", sfnt)).has_value(), false);

    const std::string gone = dir.file("gone.pfb");
    EXPECT_EQ(fontlist::nameOf(gone).value().text(), "error: File not found");
    EXPECT_TRUE(fontlist::reportOf(gone).value().fileListStale);
    EXPECT_FALSE(std::filesystem::exists(gone));
}

} // namespace
