#include "fontlist/HiddenFontsHint.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct HintCase {
    const char* what;
    std::vector<std::string> files;
    const char* shownPatterns;
    std::optional<std::string> hint;
};

// The folder's files are empty: the hint goes by their names alone, without regard to case.
TEST(HiddenFontsHint, NamesWhatTheFilterHidesAndWhereToFindIt) {
    const std::vector<HintCase> cases = {
        {"one other type",
         {"a.otf", "B.OTF", "c.txt"},
         "*.ttf;*.pfb",
         "No .ttf or .pfb files here. This folder holds 2 .otf files: choose \"All font types\" "
         "in the type filter."},
        {"several, one of them once, in the type table's order",
         {"x.woff2", "y.pfa", "z.woff2", "w.otf"},
         "*.ttf",
         "No .ttf files here. This folder holds 1 .otf file, 2 .woff2 files and 1 .pfa file: "
         "choose \"All font types\" in the type filter."},
        {"no font of ours", {"readme.txt", "a.pfm", "a.afm"}, "*.ttf;*.pfb", std::nullopt},
        {"an empty folder", {}, "*.ttf;*.pfb", std::nullopt},
        {"every type shown already",
         {"a.txt"},
         "*.ttf;*.otf;*.ttc;*.otc;*.dfont;*.woff;*.woff2;*.pfb;*.pfa;*.t1",
         std::nullopt},
        {"a hidden file is no font of the folder's", {".a.otf"}, "*.ttf", std::nullopt},
    };
    for (const HintCase& c : cases) {
        testsupport::TempDir dir;
        for (const std::string& name : c.files) {
            dir.write(name, "");
        }
        EXPECT_EQ(fontlist::hiddenFontsHint(dir.str(), c.shownPatterns), c.hint) << c.what;
    }
}

TEST(HiddenFontsHint, GroupsTheDigitsOfLargeCounts) {
    testsupport::TempDir dir;
    for (int i = 0; i < 1204; ++i) {
        dir.write("f" + std::to_string(i) + ".otf", "");
    }
    const std::optional<std::string> hint = fontlist::hiddenFontsHint(dir.str(), "*.ttf");
    ASSERT_TRUE(hint.has_value());
    EXPECT_NE(hint->find("holds 1,204 .otf files:"), std::string::npos) << *hint;
}

} // namespace
