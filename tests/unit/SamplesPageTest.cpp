// The specimen page: what it shows of each font, how it holds any name and file name, and the
// three files of the HTML list written together or not at all.
#include "fontlist/SamplesPage.h"
#include "fontlist/FaceBlocks.h"
#include "fontlist/FontList.h"
#include "fontlist/PageText.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/PythonPeer.h"
#include "support/ScriptedConversation.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

namespace fs = std::filesystem;
using fontlist::RunEnd;
using testsupport::readFile;
using testsupport::ScriptedConversation;
using testsupport::trueTypeFontNamed;

// A PNG file's signature and header for an image of 3 by 2 pixels: all the page reads of it.
const std::string kPng = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x03\0\0\0\x02", 24);

// Draws nothing: gives each face a sample text of its own and, where asked, the image above;
// notes every call, and runs a hook at the first one.
class RecordingDrawer : public fontlist::FaceDrawer {
public:
    fontlist::SampleFace face(const std::string& path, long faceIndex, std::string_view,
                              const fontlist::SamplesOptions&, bool image) const override {
        const std::scoped_lock lock(mutex_);
        if (hook && calls.empty()) {
            hook();
        }
        calls.insert(fs::path(path).filename().string() + "#" + std::to_string(faceIndex) +
                     (image ? " image" : ""));
        return {.sampleText = "Sample of " + std::to_string(faceIndex),
                .png = image ? kPng : std::string(),
                .reason = {}};
    }

    std::function<void()> hook;
    mutable std::set<std::string> calls;

private:
    mutable std::mutex mutex_;
};

class SamplesPageRun : public ::testing::Test {
protected:
    std::string path(std::string_view name) const { return dir.file(name); }

    RunEnd run(ScriptedConversation& host, bool samples) {
        fontlist::BatchRequest request =
            host.request(fontlist::SpacesOption::NoChange, fontcore::NameDecoding::ByteWise);
        if (samples) {
            request.specimens.emplace();
            request.specimens->drawer = drawer.get();
        }
        return fontlist::writeFontList(host, request).end;
    }

    std::string page() const { return readFile(path("_specimens.html")); }

    testsupport::TempDir dir;
    std::unique_ptr<RecordingDrawer> drawer = std::make_unique<RecordingDrawer>();
};

// The data-name of every block, in the page's order.
std::vector<std::string> blockNames(const std::string& page) {
    static const std::regex block("<section class=\"specimen\" data-name=\"([^\"]*)\">");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), block);
         it != std::sregex_iterator(); ++it) {
        names.push_back((*it)[1]);
    }
    return names;
}

TEST_F(SamplesPageRun, ThePageAndReportAreTheSameWithSamplesAndTheMessageNamesTheThird) {
    dir.write("b.ttf", trueTypeFontNamed(u"Beta"));
    dir.write("a.pfb", testsupport::pfbFont(testsupport::typicalClearText("Beta")));
    ScriptedConversation without(dir.str());
    ASSERT_EQ(run(without, false), RunEnd::Finished);
    const std::string list = readFile(path("_fonts.html"));
    const std::string report = readFile(path("_report.txt"));
    EXPECT_FALSE(fs::exists(path("_specimens.html")));

    ScriptedConversation with(dir.str());
    ASSERT_EQ(run(with, true), RunEnd::Finished);
    EXPECT_EQ(readFile(path("_fonts.html")), list);
    EXPECT_EQ(readFile(path("_report.txt")), report);
    ASSERT_EQ(with.messages.size(), 1u);
    EXPECT_EQ(with.messages[0].text, without.messages[0].text +
                                         "\r\n\r\nEvery font is shown in its own face in\r\n" +
                                         path("_specimens.html"));
    EXPECT_EQ(blockNames(page()).size(), 2u);
}

// The page's blocks are in the list's order, a collection's fonts each their own in the file's
// order; the browser draws single fonts, the drawer the rest.
TEST_F(SamplesPageRun, BlocksFollowTheListsOrderAndACollectionGivesOneBlockPerFont) {
    dir.write("z.ttf", trueTypeFontNamed(u"Zeta"));
    dir.write("m.ttc", testsupport::fontCollection({.fonts = {trueTypeFontNamed(u"Mu Two"),
                                                              trueTypeFontNamed(u"Mu One")}}));
    dir.write("a.pfb", testsupport::pfbFont(testsupport::typicalClearText("Alpha")));
    ScriptedConversation host(dir.str(), "*.ttf;*.ttc;*.pfb");
    ASSERT_EQ(run(host, true), RunEnd::Finished);

    const std::string written = page();
    EXPECT_EQ(blockNames(written), (std::vector<std::string>{"Alpha", "Mu Two", "Mu One", "Zeta"}));
    EXPECT_EQ(drawer->calls, (std::set<std::string>{"a.pfb#0 image", "m.ttc#0 image",
                                                    "m.ttc#1 image", "z.ttf#0"}));
    // Zeta is third in the page's order: its face is f2, at its relative address.
    EXPECT_NE(written.find("@font-face { font-family: f2; src: url(\"./z.ttf\") }"),
              std::string::npos);
    EXPECT_NE(written.find("<p class=\"sample f2 s12\" dir=\"auto\">Sample of 0</p>\r\n"
                           "<p class=\"sample f2 s18\" dir=\"auto\">Sample of 0</p>"),
              std::string::npos);
    EXPECT_NE(
        written.find(
            "<img class=\"drawn\" src=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAMAAAAC\" "
            "alt=\"Sample of 1\" width=\"3\" height=\"2\">"),
        std::string::npos);
}

// A build that draws no fonts shows the browser's fonts with the pangram (or the text asked
// for), and says why the others show no sample.
TEST_F(SamplesPageRun, WithoutADrawerTheBrowserDrawsWhatItCanAndTheRestSayWhy) {
    dir.write("z.ttf", trueTypeFontNamed(u"Zeta"));
    dir.write("a.pfb", testsupport::pfbFont(testsupport::typicalClearText("Alpha")));
    drawer.reset();
    for (const std::string text : {"", "Hamburg"}) {
        ScriptedConversation host(dir.str());
        fontlist::BatchRequest request = host.request(fontlist::SpacesOption::NoChange);
        request.specimens.emplace();
        request.specimens->sampleText = text;
        ASSERT_EQ(fontlist::writeFontList(host, request).end, RunEnd::Finished);
        const std::string written = page();
        const std::string shown =
            text.empty() ? "The quick brown fox jumps over the lazy dog" : text;
        EXPECT_NE(written.find("<p class=\"sample f1 s36\" dir=\"auto\">" + shown + "</p>"),
                  std::string::npos);
        EXPECT_NE(written.find("<h2>Alpha</h2>\r\n<p class=\"reason\">This build cannot draw fonts "
                               "of this type, and web browsers do not draw them.</p>"),
                  std::string::npos);
    }
}

// A failure of any of the three files leaves all three as they were, and no temporary file.
TEST_F(SamplesPageRun, AFailureOfTheSamplesPageLeavesTheEarlierFilesAsTheyWere) {
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    const struct {
        const char* when;
        bool duringTheRun;
    } cases[] = {{"a directory there before the run", false},
                 {"a directory put there while the page is made", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        dir.write("_fonts.html", "earlier list");
        dir.write("_report.txt", "earlier report");
        fs::remove_all(path("_specimens.html"));
        drawer->calls.clear();
        const auto blockTheName = [this] { fs::create_directory(path("_specimens.html")); };
        drawer->hook = c.duringTheRun ? std::function<void()>(blockTheName) : nullptr;
        if (!c.duringTheRun) {
            blockTheName();
        }
        ScriptedConversation host(dir.str());
        EXPECT_EQ(run(host, true), RunEnd::Failed);
        EXPECT_EQ(readFile(path("_fonts.html")), "earlier list");
        EXPECT_EQ(readFile(path("_report.txt")), "earlier report");
        std::set<std::string> entries;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            entries.insert(entry.path().filename().string());
        }
        EXPECT_EQ(entries, (std::set<std::string>{"_fonts.html", "_report.txt", "_specimens.html",
                                                  "a.ttf"}));
    }
}

TEST_F(SamplesPageRun, AStopDuringTheLookupsWritesNoneOfTheThree) {
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    dir.write("b.ttf", trueTypeFontNamed(u"Beta"));
    ScriptedConversation host(dir.str());
    host.stopAfter = 1;
    EXPECT_EQ(run(host, true), RunEnd::Stopped);
    EXPECT_FALSE(fs::exists(path("_specimens.html")));
    EXPECT_FALSE(fs::exists(path("_fonts.html")));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("_fonts.html, _report.txt and _specimens.html are as "
                                         "they were."),
              std::string::npos);
}

// The page runs its one script by hash: the hash the policy names is that of the script the
// page holds, worked out here by another hand.
TEST_F(SamplesPageRun, ThePolicysScriptHashIsThatOfThePagesScript) {
    if (!testsupport::pythonHas("hashlib, base64")) {
        GTEST_SKIP() << "no Python to hash the script with";
    }
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    ScriptedConversation host(dir.str());
    ASSERT_EQ(run(host, true), RunEnd::Finished);
    const std::string written = page();
    std::smatch script;
    ASSERT_TRUE(std::regex_search(written, script, std::regex("<script>(.*)</script>")));
    const std::string scriptPath = dir.write("script.js", script[1].str());
    const std::optional<std::string> hash = testsupport::pythonOutput(
        "import base64, hashlib, sys; "
        "print(base64.b64encode(hashlib.sha256(open(sys.argv[1], \"rb\").read()).digest())"
        ".decode(), end=\"\")",
        {scriptPath});
    ASSERT_TRUE(hash);
    EXPECT_NE(written.find("script-src 'sha256-" + *hash + "'"), std::string::npos);
    EXPECT_EQ(script[1].str(), fontlist::samples_page::filterScript());
}

// Names and file names of any bytes come out as text and as links that lead to the file.
TEST(SampleFacts, EveryTextIsEscapedAndEveryAddressEncoded) {
    const std::string hostile = "</style><script>alert(1)</script>";
    const std::string path = "/fonts/a\"b#c%d e'\xE9.ttf";
    const fontlist::samples_page::ListedFont font{
        .name = "a\"b#c%d e'\xE9.ttf", .key = "key", .place = 0, .path = path, .bytes = 1234567};
    const fontcore::FaceFacts facts{
        .fullName = hostile, .designer = hostile, .licenceUrl = "https://example.org/a b\"<x>&y=1"};
    std::string line;
    fontlist::samples_page::appendFactsLine(line, facts, font, fontlist::fontTypeOf(path));
    EXPECT_EQ(line,
              "<p class=\"facts\">Designer: &lt;/style&gt;&lt;script&gt;alert(1)&lt;/script&gt;"
              " \xC2\xB7 Licence: <a href=\"https://example.org/a%20b%22%3Cx%3E&amp;y=1\">"
              "https://example.org/a b&quot;&lt;x&gt;&amp;y=1</a>"
              " \xC2\xB7 <a href=\"./a%22b%23c%25d%20e%27%E9.ttf\">a&quot;b#c%d "
              "e&#39;\xEF\xBF\xBD.ttf</a>"
              " \xC2\xB7 TrueType fonts \xC2\xB7 1,234,567 bytes</p>\r\n");
}

// A licence without a web address is cut at 120 characters, never inside one; an address of
// another scheme is no link.
TEST(SampleFacts, TheLicenceIsCutAt120CharactersAndOnlyWebAddressesAreLinks) {
    const std::string e = "\xC3\xA9";
    std::string accents;
    for (int i = 0; i < 130; ++i) {
        accents += e;
    }
    const struct {
        fontcore::FaceFacts facts;
        std::string shown;
    } cases[] = {
        {{.licence = std::string(119, 'x') + e + "yyy"}, "Licence: " + std::string(119, 'x') + e},
        {{.licence = accents}, "Licence: " + accents.substr(0, 240)},
        {{.licenceUrl = "ftp://example.org/l", .licence = ""}, "Licence: ftp://example.org/l"},
        {{.licenceUrl = "javascript:alert(1)", .licence = "Free"}, "Licence: Free"},
        {{.licenceUrl = "HTTP://Example.org", .licence = "Free"},
         "Licence: <a href=\"HTTP://Example.org\">HTTP://Example.org</a>"},
    };
    const std::string path = "/a.pfb";
    const fontlist::samples_page::ListedFont font{"a.pfb", "a", 0, path, std::nullopt};
    for (const auto& c : cases) {
        std::string line;
        fontlist::samples_page::appendFactsLine(line, c.facts, font, nullptr);
        EXPECT_EQ(line, "<p class=\"facts\">" + c.shown +
                            " \xC2\xB7 <a href=\"./a.pfb\">a.pfb</a></p>\r\n");
    }
}

TEST(SampleFacts, Base64IsThatOfTheStandard) {
    const std::pair<std::string_view, std::string_view> vectors[] = {{"", ""},
                                                                     {"f", "Zg=="},
                                                                     {"fo", "Zm8="},
                                                                     {"foo", "Zm9v"},
                                                                     {"foob", "Zm9vYg=="},
                                                                     {"fooba", "Zm9vYmE="},
                                                                     {"foobar", "Zm9vYmFy"},
                                                                     {"\xFF\xFE", "//4="}};
    for (const auto& [bytes, encoded] : vectors) {
        std::string out;
        fontlist::page_text::appendBase64(out, bytes);
        EXPECT_EQ(out, encoded);
    }
}

} // namespace
