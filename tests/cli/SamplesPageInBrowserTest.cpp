// The specimen page as a browser shows it: Debian's Chromium, headless, opens the
// _specimens.html that `quillvane-cli html --samples` writes, over one folder made once for
// all cases: fonts from the project's writers (they carry names, no glyphs) and, where a case
// needs real outlines, Debian's URW fonts copied in.
#include "CliProcess.h"
#include "HeadlessChromium.h"

#include "support/PfbWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

const std::string kHostileName = "</style><script>alert(1)</script>";
const std::string kQuotedFile = "say \"hi\" #1.ttf";
// A face no fallback font resembles, and a Type 1 font with outlines.
const std::string kChancery = "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf";
const std::string kType1 = "/usr/share/fonts/X11/Type1/C059-Bold.pfb";

std::string decodedEntities(const std::string& html) {
    static const std::regex entity("&(amp|lt|gt|quot|#39|#x27);");
    std::string out;
    auto last = html.cbegin();
    for (auto it = std::sregex_iterator(html.begin(), html.end(), entity);
         it != std::sregex_iterator(); ++it) {
        out.append(last, html.cbegin() + it->position());
        const std::string name = (*it)[1].str();
        out += name == "amp"    ? "&"
               : name == "lt"   ? "<"
               : name == "gt"   ? ">"
               : name == "quot" ? "\""
                                : "'";
        last = html.cbegin() + it->position() + it->length();
    }
    out.append(last, html.cend());
    return out;
}

struct Block {
    std::string name; // data-name, decoded
    bool hidden = false;
    std::string html; // the section's inner HTML as Chromium serialised it
};

// The text between the first `open` at or after `at` and the next `close`; `at` moves past it.
// Plain searches: the page's images are long for std::regex, whose matching recurses per
// character.
std::optional<std::string> between(const std::string& text, std::size_t& at, std::string_view open,
                                   std::string_view close) {
    const std::size_t start = text.find(open, at);
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t end = text.find(close, start + open.size());
    if (end == std::string::npos) {
        return std::nullopt;
    }
    at = end + close.size();
    return text.substr(start + open.size(), end - start - open.size());
}

std::vector<Block> blocksOf(const std::string& dom) {
    std::vector<Block> blocks;
    std::size_t at = 0;
    while (const auto name = between(dom, at, "<section class=\"specimen\" data-name=\"", "\"")) {
        const auto rest = between(dom, at, "", ">");
        const auto html = between(dom, at, "", "</section>");
        if (!rest || !html) {
            break;
        }
        blocks.push_back(
            {decodedEntities(*name), rest->find("hidden") != std::string::npos, *html});
    }
    return blocks;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string base64Decoded(const std::string& text) {
    static const std::string digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        const std::size_t value = digits.find(c);
        if (value == std::string::npos) {
            continue; // padding
        }
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// The pixels of a PNG image that are not its first pixel's colour (the background), or -1
// where libpng cannot read it.
long inkOf(const std::string& png, png_uint_32& width, png_uint_32& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) {
        return -1;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        return -1;
    }
    width = image.width;
    height = image.height;
    long ink = 0;
    for (std::size_t i = 4; i + 4 <= pixels.size(); i += 4) {
        ink += std::equal(pixels.begin() + static_cast<long>(i),
                          pixels.begin() + static_cast<long>(i) + 4, pixels.begin())
                   ? 0
                   : 1;
    }
    return ink;
}

class SamplesPageInBrowser : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempDir>();
        const TempDir& dir = *folder_;
        dir.write("sans bold.ttf", testsupport::trueTypeFontNamed(u"Quillvane Sans Bold"));
        dir.write("serif.ttf", testsupport::trueTypeFontNamed(u"Quillvane Serif Italic"));
        dir.write("hostile.ttf", testsupport::trueTypeFontNamed(
                                     std::u16string(kHostileName.begin(), kHostileName.end())));
        dir.write(kQuotedFile, testsupport::trueTypeFontNamed(u"Quoted Hash"));
        dir.write("qvcb____.pfb", testsupport::pfbFont(testsupport::typicalClearText(
                                      "Quillvane Courier Bold", "Quillvane Courier", "Bold")));
        for (const std::string& source : {kChancery, kType1}) {
            std::error_code ignored;
            fs::copy_file(source, dir.path() / fs::path(source).filename(), ignored);
        }
        status_ = clitest::runCli({"html", "--samples", "--filter", "all", dir.str()}).status;
    }
    static void TearDownTestSuite() { folder_.reset(); }

    void SetUp() override {
        if (!chromium::startProblem().empty()) {
            GTEST_SKIP() << chromium::startProblem();
        }
        ASSERT_EQ(status_, 0) << "quillvane-cli html --samples failed";
    }

    static const TempDir& dir() { return *folder_; }
    static std::string page(const std::string& fragment = {}) {
        return chromium::fileUrl(dir().file("_specimens.html")) + fragment;
    }
    // Whether a Debian font that a case needs is missing (the case then skips and says so).
    static bool missing(const std::string& font) { return !fs::exists(font); }

private:
    static inline std::unique_ptr<TempDir> folder_;
    static inline int status_ = -1;
};

// Moves a file out of its name for as long as it lives.
class MovedAway {
public:
    explicit MovedAway(fs::path path) : path_(std::move(path)) {
        fs::rename(path_, path_.string() + ".away");
    }
    ~MovedAway() {
        std::error_code ignored;
        fs::rename(path_.string() + ".away", path_, ignored);
    }
    MovedAway(const MovedAway&) = delete;
    MovedAway& operator=(const MovedAway&) = delete;

private:
    fs::path path_;
};

// The same page, filtered to the one block, drawn twice: with its font file in the folder and
// with the file gone, where the browser falls back to its own font. The pictures differ only
// if the browser drew the font; this is also the test that the page's Content-Security-Policy
// lets its own fonts load from a file:// page.
TEST_F(SamplesPageInBrowser, ADistinctiveFaceIsDrawnInItsOwnFont) {
    if (missing(kChancery)) {
        GTEST_SKIP() << kChancery << " is missing (Debian: fonts-urw-base35)";
    }
    const std::string own = dir().file("own.png");
    const std::string fallback = dir().file("fallback.png");
    ASSERT_TRUE(chromium::screenshot(page("#filter=Z003"), own, 800, 500));
    {
        const MovedAway away(dir().path() / fs::path(kChancery).filename());
        ASSERT_TRUE(chromium::screenshot(page("#filter=Z003"), fallback, 800, 500));
    }
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    EXPECT_GT(inkOf(testsupport::readFile(own), width, height), 1000);
    EXPECT_NE(testsupport::readFile(own), testsupport::readFile(fallback))
        << "the block looks the same with and without its font file";
}

TEST_F(SamplesPageInBrowser, AType1BlockHoldsAnImageOfItsFace) {
    if (missing(kType1)) {
        GTEST_SKIP() << kType1 << " is missing (Debian: fonts-urw-base35)";
    }
    const std::vector<Block> blocks = blocksOf(chromium::dom(page()));
    const auto block = std::find_if(blocks.begin(), blocks.end(), [](const Block& b) {
        return b.name.find("C059") != std::string::npos;
    });
    ASSERT_NE(block, blocks.end()) << "no block for C059 Bold";
    std::size_t at = 0;
    const auto image =
        between(block->html, at, "<img class=\"drawn\" src=\"data:image/png;base64,", "\"");
    ASSERT_TRUE(image) << block->html;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    const long ink = inkOf(base64Decoded(*image), width, height);
    EXPECT_GT(width, 100u);
    EXPECT_GT(height, 20u);
    EXPECT_GT(ink, 500) << "the image holds " << ink << " inked pixels";
}

// The filter from the URL's fragment, percent-decoded, in another case than the names.
TEST_F(SamplesPageInBrowser, TheFilterHidesTheBlocksWhoseNameLacksTheText) {
    const std::vector<Block> blocks = blocksOf(chromium::dom(page("#filter=SANS%20b")));
    ASSERT_GE(blocks.size(), 5u);
    std::size_t shown = 0;
    for (const Block& block : blocks) {
        const bool matches = lowerAscii(block.name).find("sans b") != std::string::npos;
        EXPECT_EQ(block.hidden, !matches) << block.name;
        shown += block.hidden ? 0 : 1;
    }
    EXPECT_EQ(shown, 1u);
}

TEST_F(SamplesPageInBrowser, ThePrintedPageHasABlockPerFont) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "needs pdftotext (Debian: poppler-utils)";
    }
    const std::string pdf = dir().file("printed.pdf");
    ASSERT_TRUE(chromium::printToPdf(page(), pdf));
    std::string text = chromium::outputOf({"/usr/bin/pdftotext", pdf, "-"});
    text = std::regex_replace(text, std::regex("\\s+"), " ");
    const std::vector<Block> blocks =
        blocksOf(testsupport::readFile(dir().file("_specimens.html")));
    ASSERT_GE(blocks.size(), 5u);
    for (const Block& block : blocks) {
        EXPECT_NE(text.find(block.name), std::string::npos) << block.name << " is not printed";
    }
}

// A name that closes the style and opens a script is text; a file name with a quote and a
// hash sign is a link that leads to its file (the hash not read as the start of a fragment).
TEST_F(SamplesPageInBrowser, NamesAreTextAndLinksLeadToTheirFiles) {
    const std::string dom = chromium::dom(page());
    std::size_t scripts = 0;
    for (std::size_t at = dom.find("<script"); at != std::string::npos;
         at = dom.find("<script", at + 1)) {
        ++scripts;
    }
    EXPECT_EQ(scripts, 1u) << "the page holds scripts other than its filter";
    std::set<std::string> headings;
    std::size_t at = 0;
    while (const auto heading = between(dom, at, "<h2", "</h2>")) {
        headings.insert(decodedEntities(heading->substr(heading->find('>') + 1)));
    }
    EXPECT_EQ(headings.count(kHostileName), 1u) << "the hostile name is not a heading's text";

    std::set<std::string> targets;
    at = 0;
    while (const auto link = between(dom, at, "<a href=\"", "\"")) {
        std::string href = decodedEntities(*link);
        if (href.rfind("http", 0) == 0) {
            continue; // a licence's address
        }
        href = href.substr(0, href.find_first_of("#?")); // what a browser asks for
        const std::string target = chromium::decodedPercents(href);
        targets.insert(target.rfind("./", 0) == 0 ? target.substr(2) : target);
    }
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir().path())) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '_' && name.find(".png") == std::string::npos &&
            name.find(".pdf") == std::string::npos) {
            files.insert(name);
        }
    }
    EXPECT_EQ(targets, files);
    EXPECT_EQ(targets.count(kQuotedFile), 1u);
}

} // namespace
