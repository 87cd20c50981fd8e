// The specimen page's images and drawer: PNG files that read back as the coverage drawn, a Type 1
// font drawn into an image, a TrueType font's sample text alone, a damaged file told.
#include "drawing/FreeTypeFaceDrawer.h"
#include "drawing/PngImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <string>

namespace {

const std::string kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kNimbusSans = "/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1";

#define SKIP_WITHOUT(path, package)                                                                \
    if (!std::filesystem::exists(path)) {                                                          \
        GTEST_SKIP() << (path) << " is missing (package " << (package) << ")";                     \
    }

// The grey and alpha bytes of a PNG file, read back with libpng; an empty image where it is no
// PNG.
drawing::CoverageImage alphaOf(const std::string& png, std::vector<std::uint8_t>* grey = nullptr) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) {
        return {};
    }
    image.format = PNG_FORMAT_GA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        return {};
    }
    drawing::CoverageImage alpha{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    for (std::size_t i = 0; i < pixels.size(); i += 2) {
        if (grey != nullptr) {
            grey->push_back(pixels[i]);
        }
        alpha.pixels.push_back(pixels[i + 1]);
    }
    return alpha;
}

TEST(PngImage, ReadsBackAsBlackInkWithTheCoverageAsAlpha) {
    drawing::CoverageImage image{3, 2, {0, 1, 127, 128, 254, 255}};
    std::vector<std::uint8_t> grey;
    const drawing::CoverageImage back = alphaOf(drawing::pngOf(image), &grey);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, image.pixels);
    EXPECT_EQ(grey, std::vector<std::uint8_t>(6, 0));
    // Nothing to encode, or pixels that do not fill the size: no file, no read past the end.
    EXPECT_EQ(drawing::pngOf({0, 0, {}}), "");
    EXPECT_EQ(drawing::pngOf({4, 2, {1, 2, 3}}), "");
}

const int kSizes[] = {12, 24};

fontlist::SampleFace sampleOf(const std::string& path, bool image, std::string text = {}) {
    const drawing::FreeTypeFaceDrawer drawer;
    fontlist::SamplesOptions options;
    options.sampleText = std::move(text);
    options.sizes.assign(std::begin(kSizes), std::end(kSizes));
    return drawer.face(path, 0, "Title", options, image);
}

TEST(FaceDrawer, DrawsAType1FontIntoAnImage) {
    SKIP_WITHOUT(kNimbusSans, "fonts-urw-base35");
    const fontlist::SampleFace face = sampleOf(kNimbusSans, true);
    EXPECT_EQ(face.reason, "");
    EXPECT_EQ(face.sampleText, "The quick brown fox jumps over the lazy dog");
    const drawing::CoverageImage image = alphaOf(face.png);
    EXPECT_GT(image.width, 300);
    EXPECT_LE(image.width, 900);
    // The title and two lines of the sample, each at least as tall as its size.
    EXPECT_GT(image.height, 24 + 12 + 24);
    EXPECT_TRUE(std::any_of(image.pixels.begin(), image.pixels.end(),
                            [](std::uint8_t alpha) { return alpha == 255; }));
}

TEST(FaceDrawer, GivesTheTextAloneWhereTheBrowserDraws) {
    SKIP_WITHOUT(kDejaVuSans, "fonts-dejavu-core");
    const fontlist::SampleFace face = sampleOf(kDejaVuSans, false);
    EXPECT_EQ(face.sampleText, "The quick brown fox jumps over the lazy dog");
    EXPECT_EQ(face.png, "");
    EXPECT_EQ(face.reason, "");
    EXPECT_EQ(sampleOf(kDejaVuSans, false, "Ünïcödé").sampleText, "Ünïcödé");
}

TEST(FaceDrawer, TellsWhyADamagedFontHasNoImage) {
    const testsupport::TempDir dir;
    const std::string path = dir.write("broken.pfb", std::string(400, '\x80'));
    const fontlist::SampleFace face = sampleOf(path, true, "Text");
    EXPECT_EQ(face.png, "");
    EXPECT_EQ(face.reason.rfind("This font has no outlines FreeType can draw: ", 0), 0U)
        << face.reason;
    EXPECT_EQ(face.sampleText, "Text");
    // Without an image there is nothing to tell, and the browser is given a sample to try.
    EXPECT_EQ(sampleOf(path, false).reason, "");
    EXPECT_EQ(sampleOf(path, false).sampleText, "The quick brown fox jumps over the lazy dog");
}

} // namespace
