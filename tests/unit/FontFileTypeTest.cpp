#include "runtime/FontFileType.h"

#include <gtest/gtest.h>

namespace {

using runtime::FontFileType;

TEST(FontFileType, ByTheLastFourCharactersWithoutRegardToCase) {
    const struct {
        const char* name;
        FontFileType type;
    } cases[] = {
        {"arial.ttf", FontFileType::TrueType}, {"FONT.TTF", FontFileType::TrueType},
        {".ttf", FontFileType::TrueType},      {"/dir.pfb/x.Ttf", FontFileType::TrueType},
        {"cour.pfb", FontFileType::Type1},     {"COUR.PFB", FontFileType::Type1},
        {"cour.pfm", FontFileType::Other},     {"arial.ttf.bak", FontFileType::Other},
        {"ttf", FontFileType::Other},          {"", FontFileType::Other},
        {"x.woff", FontFileType::Other},       {"é.ttf", FontFileType::TrueType},
        {"a.otf", FontFileType::TrueType},     {"A.OTF", FontFileType::TrueType},
        {"x.ttc", FontFileType::Collection},   {"X.OtC", FontFileType::Collection},
        {"x.otc.ttf", FontFileType::TrueType}, {"x.ttcf", FontFileType::Other},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::fontFileTypeOf(c.name), c.type) << c.name;
    }
}

} // namespace
