// Drawing fonts' samples with the system's own fonts (Debian's font packages): the sample text a
// character map chooses, every file type drawn, and damaged files told, not crashed on.
#include "drawing/SampleDrawing.h"
#include "drawing/SampleText.h"
#include "drawing/TableSampleText.h"
#include "fontlist/FontTypes.h"
#include "support/CollectionWriter.h"
#include "support/PythonPeer.h"
#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/Woff2Writer.h"
#include "support/WoffWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

namespace {

const std::string kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kDejaVuSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
const std::string kUrw = "/usr/share/fonts/type1/urw-base35/";
const std::string kCannotDraw = "This font has no outlines FreeType can draw: ";
constexpr int kSizes[] = {14, 20, 28};

#define SKIP_WITHOUT(path, package)                                                                \
    if (!std::filesystem::exists(path)) {                                                          \
        GTEST_SKIP() << (path) << " is missing (package " << (package) << ")";                     \
    }

drawing::SampleDrawing draw(const std::string& path, long face = 0, std::string_view text = {},
                            std::string_view title = "Sample") {
    return drawing::drawSample(path, face, {title, 16, kSizes, text, 2048});
}

long inked(const drawing::CoverageImage& image) {
    return std::count_if(image.pixels.begin(), image.pixels.end(),
                         [](std::uint8_t pixel) { return pixel > 0; });
}

struct ScriptCase {
    std::string path;
    std::string package;
    drawing::SampleScript script;
};

class SampleScriptTest : public testing::TestWithParam<ScriptCase> {};

TEST_P(SampleScriptTest, TheCharacterMapChoosesTheSample) {
    const ScriptCase& test = GetParam();
    SKIP_WITHOUT(test.path, test.package);
    FT_Face opened = nullptr;
    ASSERT_EQ(FT_New_Face(drawing::threadLibrary(), test.path.c_str(), 0, &opened), 0);
    const drawing::Face face(opened);
    const drawing::SampleText sample = drawing::sampleTextFor(face.get());
    EXPECT_EQ(drawing::scriptName(sample.script), drawing::scriptName(test.script));
    ASSERT_FALSE(sample.text.empty());
    for (const char32_t code : sample.text) {
        EXPECT_TRUE(code == U' ' || FT_Get_Char_Index(face.get(), code) != 0)
            << "U+" << std::hex << static_cast<unsigned>(code) << " is not in the font";
    }
    // The specimen page chooses the same from the font's `cmap` table alone, read by HarfBuzz.
    if (const std::string table = fontlist::characterMapOf(test.path, 0); !table.empty()) {
        const std::optional<drawing::SampleText> fromTable =
            drawing::sampleTextFromCharacterMap(table);
        ASSERT_TRUE(fromTable.has_value());
        EXPECT_TRUE(fromTable->text == sample.text) << drawing::scriptName(fromTable->script);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SystemFonts, SampleScriptTest,
    testing::Values(ScriptCase{kDejaVuSans, "fonts-dejavu-core", drawing::SampleScript::Latin},
                    // A CJK font that also maps Latin letters and Hangul.
                    ScriptCase{"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                               "fonts-wqy-microhei", drawing::SampleScript::Cjk},
                    // Type 1 symbol fonts: Greek letters without their accents, and dingbats.
                    ScriptCase{kUrw + "StandardSymbolsPS.t1", "fonts-urw-base35",
                               drawing::SampleScript::Symbols},
                    ScriptCase{kUrw + "D050000L.t1", "fonts-urw-base35",
                               drawing::SampleScript::Symbols}));

struct TypeCase {
    const char* name;
    std::string path;
    std::string package;
};

class SampleTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(SampleTypeTest, EveryTypeIsDrawn) {
    const TypeCase& test = GetParam();
    SKIP_WITHOUT(test.path, test.package);
    const drawing::SampleDrawing drawn = draw(test.path);
    ASSERT_TRUE(drawn.drawn()) << drawn.reason;
    EXPECT_EQ(drawn.image.pixels.size(),
              static_cast<std::size_t>(drawn.image.width * drawn.image.height));
    // The name and three sample lines, the largest at least 28 pixels.
    EXPECT_GT(drawn.image.height, 16 + 14 + 20 + 28);
    EXPECT_GT(inked(drawn.image), 500);
}

INSTANTIATE_TEST_SUITE_P(
    SystemFonts, SampleTypeTest,
    testing::Values(TypeCase{"TrueType", kDejaVuSans, "fonts-dejavu-core"},
                    TypeCase{"OpenType", "/usr/share/fonts/opentype/urw-base35/C059-Bold.otf",
                             "fonts-urw-base35"},
                    TypeCase{"Collection", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                             "fonts-wqy-microhei"},
                    TypeCase{"Type1Text", kUrw + "C059-Bold.t1", "fonts-urw-base35"},
                    TypeCase{"Type1Binary", "/usr/share/fonts/X11/Type1/C059-Bold.pfb",
                             "fonts-urw-base35"}),
    [](const testing::TestParamInfo<TypeCase>& param) { return std::string(param.param.name); });

// The wrappers made here around a real font: each is read by FreeType as the font it holds.
TEST(SampleDrawing, WrappedFontsAreDrawnAsTheFontTheyHold) {
    SKIP_WITHOUT(kDejaVuSans, "fonts-dejavu-core");
    SKIP_WITHOUT(kDejaVuSerif, "fonts-dejavu-core");
    const std::string sans = testsupport::readFile(kDejaVuSans);
    const std::string serif = testsupport::readFile(kDejaVuSerif);
    testsupport::TempDir dir;
    const drawing::SampleDrawing plain = draw(kDejaVuSans);
    const drawing::SampleDrawing second = draw(kDejaVuSerif);
    ASSERT_TRUE(plain.drawn() && second.drawn());
    EXPECT_NE(plain.image.pixels, second.image.pixels) << "two faces drew the same image";

    const struct {
        std::string file;
        long face;
        const drawing::SampleDrawing& expected;
    } cases[] = {
        {dir.write("sans.woff", testsupport::woffFont(sans)), 0, plain},
        {dir.write("pair.ttc", testsupport::fontCollection({.fonts = {sans, serif}})), 1, second},
        {dir.write("pair.dfont", testsupport::dataForkSuitcase({.fonts = {sans, serif}})), 1,
         second},
    };
    for (const auto& test : cases) {
        const drawing::SampleDrawing drawn = draw(test.file, test.face);
        ASSERT_TRUE(drawn.drawn()) << test.file << ": " << drawn.reason;
        EXPECT_EQ(drawn.image.pixels, test.expected.image.pixels) << test.file;
    }
}

// WOFF2 as encoders write it, glyf and loca transformed (fontTools is the encoder here). Debian
// 12's FreeType refuses glyf and loca stored untransformed: that file gets the reason line.
TEST(SampleDrawing, Woff2FontsAreDrawn) {
    SKIP_WITHOUT(kDejaVuSans, "fonts-dejavu-core");
    if (!testsupport::pythonHas("fontTools, brotli")) {
        GTEST_SKIP() << "no fontTools with brotli (packages python3-fonttools, python3-brotli)";
    }
    testsupport::TempDir dir;
    const std::string woff2 = dir.file("sans.woff2");
    ASSERT_TRUE(testsupport::pythonOutput(
        "import sys; from fontTools.ttLib import TTFont; f = TTFont(sys.argv[1]); "
        "f.flavor = \"woff2\"; f.save(sys.argv[2])",
        {kDejaVuSans, woff2}));
    const drawing::SampleDrawing drawn = draw(woff2);
    ASSERT_TRUE(drawn.drawn()) << drawn.reason;
    EXPECT_EQ(drawn.image.pixels, draw(kDejaVuSans).image.pixels);

    const std::string untransformed = dir.write(
        "plain.woff2", testsupport::woff2Bytes({.sfnt = testsupport::readFile(kDejaVuSans)}));
    EXPECT_EQ(draw(untransformed).reason, kCannotDraw + "broken table");
}

TEST(SampleDrawing, DamagedFilesGiveTheReasonLine) {
    SKIP_WITHOUT(kDejaVuSans, "fonts-dejavu-core");
    const std::string font = testsupport::readFile(kDejaVuSans);
    testsupport::TempDir dir;
    const std::string cases[] = {
        dir.write("empty.ttf", ""),
        dir.write("text.ttf", "This file carries a font's extension but holds no font.\n"),
        dir.write("header.ttf", font.substr(0, 12)),
        dir.write("tables.ttf", font.substr(0, 2000)),
        dir.write("half.ttf", font.substr(0, font.size() / 2)),
        dir.path().string() + "/missing.ttf",
    };
    for (const std::string& file : cases) {
        const drawing::SampleDrawing drawn = draw(file);
        EXPECT_FALSE(drawn.drawn()) << file;
        EXPECT_EQ(drawn.reason.rfind(kCannotDraw, 0), 0U) << file << ": " << drawn.reason;
        EXPECT_EQ(drawn.reason.find('\n'), std::string::npos) << drawn.reason;
        EXPECT_TRUE(drawn.image.pixels.empty());
    }
    // A face that lacks every character of its name and sample has nothing to draw.
    const drawing::SampleDrawing nothing = draw(kDejaVuSans, 0, "天地玄黄", "宇宙洪荒");
    EXPECT_EQ(nothing.reason.rfind(kCannotDraw, 0), 0U) << nothing.reason;
}

// Right-to-left text is shaped in its direction and set against the right edge; characters
// the face lacks are left out, not drawn as boxes.
TEST(SampleDrawing, RightToLeftLinesEndAtTheRightEdge) {
    SKIP_WITHOUT(kDejaVuSans, "fonts-dejavu-core");
    const drawing::SampleDrawing drawn =
        draw(kDejaVuSans, 0, "שלום", "A long Latin title that is wider than the sample");
    ASSERT_TRUE(drawn.drawn()) << drawn.reason;
    const drawing::CoverageImage& image = drawn.image;
    // The last line, the largest size: its ink starts in the right half.
    int leftmost = image.width;
    for (int y = image.height - 28; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixels[static_cast<std::size_t>(y * image.width + x)] > 0) {
                leftmost = std::min(leftmost, x);
            }
        }
    }
    EXPECT_GT(leftmost, image.width / 2);
    EXPECT_LT(leftmost, image.width);

    const drawing::SampleDrawing withMissing = draw(kDejaVuSans, 0, "ab天c", "Sample");
    const drawing::SampleDrawing without = draw(kDejaVuSans, 0, "abc", "Sample");
    EXPECT_EQ(withMissing.image.pixels, without.image.pixels);
}

} // namespace
