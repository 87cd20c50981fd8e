#include "fontlist/FontList.h"
#include "fontlist/HtmlLinkLine.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/ScriptedConversation.h"
#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

namespace fs = std::filesystem;
using fontlist::RunEnd;
using fontlist::SpacesOption;
using testsupport::pfbFont;
using testsupport::readFile;
using testsupport::ScriptedConversation;
using testsupport::trueTypeFontNamed;
using testsupport::typicalClearText;

constexpr std::string_view kTitle = "Create HTML File With Friendly Font Names";
constexpr std::string_view kPageHelp =
    "This attempts to create a file called _fonts.html in the current.\r\n"
    "directory. If _fonts.html already exists, make sure it is not read-only";

std::string lines(const std::vector<std::string>& each) {
    std::string text;
    for (const std::string& line : each) {
        text += line + "\r\n";
    }
    return text;
}

std::string page(const std::vector<std::string>& entries) {
    std::vector<std::string> all{"<HTML>", "<META CHARSET=\"UTF-8\">"};
    all.insert(all.end(), entries.begin(), entries.end());
    all.push_back("</HTML>");
    return lines(all);
}

std::string report(const std::vector<std::string>& groups) {
    std::vector<std::string> all{
        "These following files result in duplicate font names.",
        "Fonts of the same type and with the same full font name",
        "will over-write each other when the rename feature of",
        "this application is used. Use the following list to",
        "manually resolve any potential naming conflicts,",
        "prior to renaming them:",
    };
    all.insert(all.end(), groups.begin(), groups.end());
    all.push_back(" ");
    all.push_back("(end of report)");
    return lines(all);
}

std::string link(const std::string& path, const std::string& key) {
    return "<A HREF=\"" + path + "\">" + key + "</A><BR>";
}

std::string fileLine(const std::string& path) {
    return "  " + path + " (" + std::to_string(fs::file_size(path)) + " bytes)";
}

class HtmlFontListRun : public ::testing::Test {
protected:
    std::string ttf(const std::string& name, std::u16string_view fullName) const {
        return dir.write(name, trueTypeFontNamed(fullName));
    }
    std::string pfb(const std::string& name, std::string_view fullName) const {
        return dir.write(name, pfbFont(typicalClearText(fullName)));
    }
    std::string pagePath() const { return dir.file("_fonts.html"); }
    std::string reportPath() const { return dir.file("_report.txt"); }

    RunEnd run(ScriptedConversation& host, SpacesOption option = SpacesOption::NoChange,
               fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise) {
        fontlist::BatchRequest request = host.request(option, decoding);
        request.folders = folders;
        result = fontlist::writeFontList(host, request);
        return result.end;
    }

    testsupport::TempDir dir;
    fontlist::FontFolders folders;
    fontlist::BatchResult result;
};

TEST_F(HtmlFontListRun, ListsFontsOfBothTypesInOrderOfTheirNames) {
    const std::string a = ttf("a.ttf", u"Zeta");
    const std::string b = pfb("b.pfb", "  Alpha ");
    ScriptedConversation host(dir.str());
    EXPECT_EQ(run(host), RunEnd::Finished);

    EXPECT_EQ(readFile(pagePath()), page({link(b, "Alpha"), link(a, "Zeta")}));
    EXPECT_EQ(readFile(reportPath()), report({}));
    EXPECT_EQ(result.rows.keys().strings(), (std::vector<std::string>{"Alpha", "Zeta"}));
    EXPECT_EQ(result.rows.names().strings(), (std::vector<std::string>{"b.pfb", "a.ttf"}));
    EXPECT_TRUE(result.wroteIntoFolder);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{
                  "progress:  1", "progress:  0", "progress: Sorting Font List (alphabetizing)...",
                  "progress: Generating HTML file...", "progress: Quillvane",
                  "message: Created " + pagePath() +
                      "\r\n\r\nAny possible font duplication issues can be found in\r\n" +
                      reportPath()}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, kTitle);
    EXPECT_EQ(host.messages[0].icon, fontlist::MessageIcon::None);
}

// Unicode names are the keys of the page, which then says it is UTF-8, and of the report.
TEST_F(HtmlFontListRun, UnicodeNamesAreTheKeysOfThePageAndTheReport) {
    const std::string a = ttf("a.ttf", u"ゴシック体 太字");
    const std::string b = ttf("b.ttf", u"ゴシック体 太字");
    const std::string c = ttf("c.ttf", u"Ελληνικά");
    ScriptedConversation host(dir.str());
    EXPECT_EQ(run(host, SpacesOption::ReplaceWithHyphen, fontcore::NameDecoding::Readable),
              RunEnd::Finished);

    // The two equal keys in either order.
    const std::string first = dir.file(std::string(result.rows.name(1)));
    const std::string second = dir.file(std::string(result.rows.name(2)));
    EXPECT_EQ((std::set<std::string>{first, second}), (std::set<std::string>{a, b}));
    EXPECT_EQ(readFile(pagePath()), page({link(c, "Ελληνικά"), link(first, "ゴシック体-太字"),
                                          link(second, "ゴシック体-太字")}));
    EXPECT_EQ(readFile(reportPath()),
              report({" ", "ゴシック体-太字", fileLine(first), fileLine(second)}));
}

TEST_F(HtmlFontListRun, KeysThatDifferInCaseOnlyFormOneGroupWithTheFileSizes) {
    const std::string x = ttf("x.ttf", u"Foo Bar");
    // Trailing bytes make the sizes differ: each file line must show its own file's size.
    const std::string y =
        dir.write("y.ttf", trueTypeFontNamed(u"foo bar") + std::string(100, '\0'));
    const std::string z = ttf("z.ttf", u"Other");
    ScriptedConversation host(dir.str());
    run(host, SpacesOption::Remove);

    // The sort exchanges the two equal keys; the group shows the case of its first entry.
    EXPECT_EQ(readFile(pagePath()), page({link(y, "foobar"), link(x, "FooBar"), link(z, "Other")}));
    EXPECT_EQ(readFile(reportPath()), report({" ", "foobar", fileLine(y), fileLine(x)}));
}

#ifndef _WIN32 // line breaks in file names are POSIX fixtures
// A file name with line breaks cannot make report lines that read as another group; the page's
// link still leads to the file.
TEST_F(HtmlFontListRun, TheReportShowsControlCharactersOfPathsEscaped) {
    const std::string plain = ttf("a.ttf", u"Same");
    const std::string hostile = ttf("b\r\n \r\nFake\r\n  x.ttf (1 bytes)\x1b[2J.ttf", u"Same");
    ScriptedConversation host(dir.str());
    run(host);

    const std::string shown = dir.file("b\\x0d\\x0a \\x0d\\x0aFake\\x0d\\x0a  x.ttf (1 bytes)"
                                       "\\x1b[2J.ttf (" +
                                       std::to_string(fs::file_size(hostile)) + " bytes)");
    const std::string report = readFile(reportPath());
    EXPECT_NE(report.find("\r\n" + fileLine(plain) + "\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\r\n  " + shown + "\r\n"), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 6 + 4 + 2);
    EXPECT_NE(readFile(pagePath()).find("b%0D%0A"), std::string::npos);
}
#endif

TEST_F(HtmlFontListRun, AGroupOfThreeHasOneTitleWhateverTheFileTypes) {
    const std::string m1 = ttf("m1.ttf", u"Mono");
    const std::string m2 = pfb("m2.pfb", "mono");
    const std::string m3 = ttf("m3.ttf", u"MONO");
    const std::string s = ttf("s.ttf", u"Serif");
    const std::string s2 = pfb("s2.pfb", "Serif");
    ScriptedConversation host(dir.str());
    run(host);

    EXPECT_EQ(readFile(reportPath()), report({" ", "MONO", fileLine(m3), fileLine(m2), fileLine(m1),
                                              " ", "Serif", fileLine(s2), fileLine(s)}));
}

TEST_F(HtmlFontListRun, ASuitcaseIsListedUnderItsFirstFontsName) {
    const std::string a = ttf("a.ttf", u"Zeta");
    const std::string b = dir.write(
        "b.dfont", testsupport::dataForkSuitcase(
                       {.fonts = {trueTypeFontNamed(u"Alpha Sans"), trueTypeFontNamed(u"Beta")}}));
    ScriptedConversation host(dir.str(), "*.ttf;*.dfont");
    EXPECT_EQ(run(host, SpacesOption::ReplaceWithHyphen), RunEnd::Finished);
    EXPECT_EQ(readFile(pagePath()), page({link(b, "Alpha-Sans"), link(a, "Zeta")}));
}

TEST_F(HtmlFontListRun, UnreadableNamesGetTheQuestionMarkForm) {
    const std::string notFont = dir.write("arial.ttf", "This is no font, just some text.\n");
    const std::string blank = ttf("blank.TTF", u"   ");
    const std::string blankT1 =
        dir.write("blank1.T1", testsupport::unixType1Font(testsupport::typicalClearText(" ")));
    // A collection header that counts no fonts: its lookup overflows.
    const std::string noFonts = dir.write(
        "nofonts.ttc",
        testsupport::fontCollection({.fonts = {trueTypeFontNamed(u"Hidden")}, .count = 0}));
    const std::string empty = pfb("empty.pfb", "");
    const std::string noFullName =
        dir.write("nofull.pfb", pfbFont("%!PS-AdobeFont-1.0: X\r/FamilyName (X) readonly def\r"));
    // Not reachable through the window's patterns: no lookup, the question-mark form.
    const std::string other = ttf("zz.ttfx", u"Never Read");
    // A name that reads like the overflow's error text is still a name.
    const std::string lookalike = ttf("lookalike.ttf", u" error: overflow ");
    ScriptedConversation host(dir.str(), "*.ttf*;*.pfb;*.ttc;*.t1");
    run(host);

    EXPECT_EQ(readFile(pagePath()),
              page({link(notFont, "?arial"), link(blank, "?blank"), link(blankT1, "?blank1"),
                    link(empty, "?empty"), link(noFonts, "?nofonts"), link(other, "?zz."),
                    link(noFullName, "error Invalid procedure call or argument"),
                    link(lookalike, "error overflow")}));
}

TEST_F(HtmlFontListRun, AnEmptyListIsRefusedAndDisablesTheButtons) {
    dir.write("notes.txt", "x");
    ttf("a.ttf", u"Only TrueType");
    ScriptedConversation host(dir.str(),
                              "*.pfb"); // the message speaks of TrueType fonts all the same
    EXPECT_EQ(run(host), RunEnd::Refused);

    EXPECT_EQ(host.events,
              (std::vector<std::string>{"message: Current directory contains no TrueType fonts."}));
    EXPECT_FALSE(result.wroteIntoFolder);
    EXPECT_EQ(host.messages.at(0).title, "Create HTML friendly font list");
    EXPECT_EQ(host.messages.at(0).icon, fontlist::MessageIcon::None);
    EXPECT_FALSE(fs::exists(pagePath()));
    EXPECT_FALSE(fs::exists(reportPath()));
}

TEST_F(HtmlFontListRun, RefusesTheFontDirectoryAndEverythingBelowIt) {
    folders.fonts = platform::path::join(dir.str(), "fonts") + platform::path::separator;
    ttf("Fonts/a.ttf", u"A");
    ttf("FONTS/Sub/b.ttf", u"B");
    std::vector<std::string> browsedDirectories{dir.file("Fonts"), dir.file("FONTS/Sub")};
#ifndef _WIN32 // and through a symbolic link
    fs::create_directory_symlink(dir.file("FONTS/Sub"), dir.file("link"));
    browsedDirectories.push_back(dir.file("link"));
#endif
    for (const std::string& browsed : browsedDirectories) {
        ScriptedConversation host(browsed);
        EXPECT_EQ(run(host), RunEnd::Refused);
        ASSERT_EQ(host.messages.size(), 1u) << browsed;
        EXPECT_EQ(host.messages[0].title, kTitle);
        EXPECT_EQ(host.messages[0].text, "Action in the Windows Font directory is restricted.\r\n");
        EXPECT_EQ(host.messages[0].icon, fontlist::MessageIcon::Critical);
        EXPECT_TRUE(host.progress.empty());
        EXPECT_FALSE(result.wroteIntoFolder);
        EXPECT_FALSE(fs::exists(fs::path(browsed) / "_fonts.html"));
        EXPECT_FALSE(fs::exists(fs::path(browsed) / "_report.txt"));
    }
    // A directory whose name merely begins like it is not the font directory.
    ttf("fontsx/c.ttf", u"C");
    ScriptedConversation host(dir.file("fontsx"));
    run(host);
    EXPECT_TRUE(fs::exists(dir.file("fontsx/_fonts.html")));
}

TEST_F(HtmlFontListRun, ASecondRunReplacesBothFiles) {
    const std::string a = ttf("a.ttf", u"First");
    dir.write("_fonts.html", std::string(5000, 'x'));
    dir.write("_report.txt", std::string(5000, 'y'));
    ScriptedConversation host(dir.str());
    run(host);
    dir.write("a.ttf", trueTypeFontNamed(u"Second"));
    run(host);

    EXPECT_EQ(readFile(pagePath()), page({link(a, "Second")}));
    EXPECT_EQ(readFile(reportPath()), report({}));
    EXPECT_EQ(host.messages.size(), 2u);
}

TEST(HtmlLinkLine, EscapesWhatWouldBreakThePageOrTheLink) {
    const struct {
        std::string_view path;
        std::string_view key;
        std::string_view expected;
    } cases[] = {
        {"/dir/a.ttf", "Key", R"(<A HREF="/dir/a.ttf">Key</A><BR>)"},
        {"/my fonts/Caf\xC3\xA9 (1)-x_y.pfb", "Caf\xC3\xA9 (1)",
         "<A HREF=\"/my fonts/Caf\xC3\xA9 (1)-x_y.pfb\">Caf\xC3\xA9 (1)</A><BR>"},
        {R"(/a&b<c>d"e/f.ttf)", R"(Tom & Jerry <1> "x")",
         R"(<A HREF="/a&amp;b&lt;c&gt;d&quot;e/f.ttf">Tom &amp; Jerry &lt;1&gt; &quot;x&quot;</A><BR>)"},
        {"/100%/#1?.ttf", "100% #1?", R"(<A HREF="/100%25/%231%3F.ttf">100% #1?</A><BR>)"},
        {"/a\tb\r\n\x7F.ttf", "k", R"(<A HREF="/a%09b%0D%0A%7F.ttf">k</A><BR>)"},
        {"", "", R"(<A HREF=""></A><BR>)"},
#ifndef _WIN32
        // A browser takes "\\" in a file link for a separator; here it is part of a name.
        {"/d/back\\slash.ttf", "k", R"(<A HREF="/d/back%5Cslash.ttf">k</A><BR>)"},
#endif
        // Bytes that are not UTF-8 (a Latin-1 name, a cut sequence, an overlong form, a
        // surrogate) are percent-encoded, so that the link names the file's own bytes; the
        // text is left as it is.
        {"/d/caf\xE9.ttf", "caf\xE9", "<A HREF=\"/d/caf%E9.ttf\">caf\xE9</A><BR>"},
        {"/d/\xE2\x82.ttf\xE2\x82", "k", R"(<A HREF="/d/%E2%82.ttf%E2%82">k</A><BR>)"},
        {"/\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", "k",
         R"(<A HREF="/%C0%AF%ED%A0%80%F4%90%80%80">k</A><BR>)"},
        {"/\xE2\x82\xAC\xF0\x9F\x98\x80", "k",
         "<A HREF=\"/\xE2\x82\xAC\xF0\x9F\x98\x80\">k</A><BR>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fontlist::htmlLinkLine(c.path, c.key), c.expected) << c.path;
        // The page makes its directory's part once for all its files.
        const std::string_view path = c.path;
        const std::size_t name = path.rfind('/') + 1; // 0 where there is no separator
        std::string line;
        fontlist::appendHtmlLinkLine(line, fontlist::linkTarget(path.substr(0, name)),
                                     path.substr(name), c.key);
        EXPECT_EQ(line, c.expected) << c.path;
    }
}

// Undoes the character references of the page.
std::string unescapeHtml(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        bool known = false;
        for (const auto& [entity, c] : {std::pair<std::string_view, char>{"&amp;", '&'},
                                        {"&lt;", '<'},
                                        {"&gt;", '>'},
                                        {"&quot;", '"'}}) {
            if (text.substr(i, entity.size()) == entity) {
                out += c;
                i += entity.size() - 1;
                known = true;
                break;
            }
        }
        if (!known) {
            ADD_FAILURE() << "bare & in " << text;
            return {};
        }
    }
    return out;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(HtmlLinkLine, AnyTextGivesOneWellFormedElementThatLeadsBackToIt) {
    const std::string alphabet = "a/. &<>\"%#?;=\r\n\t\x01\x7F\xC3\xA9";
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string path;
        std::string key;
        // Mostly plain letters, so that runs of eight and more that need nothing (passed over
        // in one step) meet the bytes that need more at every offset.
        const auto pick = [&random, &alphabet] {
            return random() % 3 != 0 ? static_cast<char>('a' + random() % 26)
                                     : alphabet[random() % alphabet.size()];
        };
        for (std::size_t n = random() % 40; n > 0; --n) {
            path += pick();
            key += pick();
        }
        const std::string line = fontlist::htmlLinkLine(path, key);
        const std::string_view open = "<A HREF=\"";
        const std::string_view close = "</A><BR>";
        ASSERT_EQ(line.substr(0, open.size()), open);
        ASSERT_EQ(line.substr(line.size() - close.size()), close);
        const std::string_view inner =
            std::string_view(line).substr(open.size(), line.size() - open.size() - close.size());
        const std::size_t split = inner.find("\">");
        ASSERT_NE(split, std::string_view::npos);
        const std::string_view href = inner.substr(0, split);
        const std::string_view text = inner.substr(split + 2);
        for (const char c : std::string("<>\"")) {
            ASSERT_EQ(href.find(c), std::string_view::npos) << line;
            ASSERT_EQ(text.find(c), std::string_view::npos) << line;
        }
        for (const char c : std::string("#?\r\n\t")) {
            ASSERT_EQ(href.find(c), std::string_view::npos) << line;
        }
        EXPECT_EQ(percentDecode(unescapeHtml(href)), path);
        EXPECT_EQ(unescapeHtml(text), key);
    }
}

TEST_F(HtmlFontListRun, NamesAndPathsWithMarkupCharactersKeepThePageWellFormed) {
#ifdef _WIN32
    GTEST_SKIP() << "file names on Windows cannot hold < > \" ?";
#endif
    const std::string odd = R"(a&b<c>d"e%f#g?h)";
    const std::string font = ttf(odd + "/q<&>\"%#?.ttf", u"Not & <read>");
    dir.write(odd + "/r.ttf", "no font");
    ScriptedConversation host(dir.file(odd));
    run(host);

    const std::string escapedDir = dir.str() + "/a&amp;b&lt;c&gt;d&quot;e%25f%23g%3Fh/";
    EXPECT_EQ(readFile(dir.file(odd + "/_fonts.html")),
              page({link(escapedDir + "r.ttf", "?r"),
                    link(escapedDir + "q&lt;&amp;&gt;&quot;%25%23%3F.ttf", "Not &amp; read")}));
}

// --- Failures after the checks ---------------------------------------------------------------

TEST_F(HtmlFontListRun, AReadOnlyPageIsReportedAndLeftAlone) {
    ttf("a.ttf", u"A");
    dir.write("_fonts.html", "old page");
    fs::permissions(pagePath(), fs::perms::owner_read | fs::perms::group_read);
    ScriptedConversation host(dir.str());
    EXPECT_EQ(run(host), RunEnd::Failed);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, kTitle);
    EXPECT_EQ(host.messages[0].text, "Path/File access error\r\n\r\n" + std::string(kPageHelp));
    EXPECT_EQ(host.messages[0].icon, fontlist::MessageIcon::Critical);
    EXPECT_EQ(host.progress.back(), "Quillvane");
    EXPECT_EQ(readFile(pagePath()), "old page");
    EXPECT_FALSE(fs::exists(reportPath()));
}

TEST_F(HtmlFontListRun, FailuresOfTheOtherFilesNameTheFile) {
    ttf("a.ttf", u"A");
    fs::create_directory(reportPath());
    ScriptedConversation host(dir.str());
    run(host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Path/File access error\r\n\r\n" + reportPath());
    EXPECT_FALSE(fs::exists(pagePath()));
}

// Deletes files once the list is read, before their lookups open them. A file's length comes
// from its lookup's open, so a file the lookup could not open has no length for the report.
class DeletingHost : public ScriptedConversation {
public:
    DeletingHost(std::string directory, std::vector<std::string> victims)
        : ScriptedConversation(std::move(directory)), victims_(std::move(victims)) {}
    void afterListing(fontlist::BatchRequest& /*request*/) override {
        for (const std::string& victim : victims_) {
            fs::remove(victim);
        }
    }

private:
    std::vector<std::string> victims_;
};

#ifndef _WIN32 // symbolic links are POSIX fixtures
TEST_F(HtmlFontListRun, LinksAtEitherNameAreReplacedNotWrittenThrough) {
    ttf("a.ttf", u"A");
    const std::string elsewhere = dir.write("elsewhere.txt", "precious");
    fs::create_symlink(elsewhere, reportPath());
    fs::create_symlink("/dev/full", pagePath());
    ScriptedConversation host(dir.str());
    run(host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.starts_with("Created ")) << host.messages[0].text;
    EXPECT_EQ(readFile(elsewhere), "precious");
    EXPECT_FALSE(fs::is_symlink(reportPath()));
    EXPECT_FALSE(fs::is_symlink(pagePath()));
    EXPECT_EQ(readFile(reportPath()), report({}));
    EXPECT_EQ(readFile(pagePath()), page({link(dir.file("a.ttf"), "A")}));
}
#endif

TEST_F(HtmlFontListRun, ARunThatFailsLeavesBothEarlierFilesAsTheyWere) {
    const std::string a = ttf("a.ttf", u"Same");
    const std::string b = ttf("b.ttf", u"Same");
    const std::string olderPage = dir.write("_fonts.html", "older page");
    const std::string olderReport = dir.write("_report.txt", "older report");
    // Both go once they are listed: their lookups fail alike, which groups them, and the
    // report has no length for either.
    DeletingHost host(dir.str(), {a, b});
    run(host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.starts_with("File not found")) << host.messages[0].text;
    EXPECT_EQ(readFile(olderPage), "older page");
    EXPECT_EQ(readFile(olderReport), "older report");
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        left.insert(entry.path().filename().string());
    }
    EXPECT_EQ(left, (std::set<std::string>{"_fonts.html", "_report.txt"}));
}

// A file that is gone when its lookup opens it is listed under its failure, and the run,
// which still creates both files, says how many it could not read; a font that is no font
// is no such failure.
// A stop asked for during the lookups ends the run before anything is written; one asked
// after the last lookup is never asked, and the list is written.
TEST_F(HtmlFontListRun, AStopDuringTheLookupsLeavesBothEarlierFilesAsTheyWere) {
    ttf("a.ttf", u"Alpha");
    ttf("b.ttf", u"Beta");
    ttf("c.ttf", u"Gamma");
    dir.write("_fonts.html", "earlier page");
    dir.write("_report.txt", "earlier report");
    ScriptedConversation host(dir.str());
    host.stopAfter = 2;
    EXPECT_EQ(run(host), RunEnd::Stopped);

    EXPECT_EQ(readFile(pagePath()), "earlier page");
    EXPECT_EQ(readFile(reportPath()), "earlier report");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 5)
        << "a temporary file was left";
    EXPECT_FALSE(result.wroteIntoFolder);
    EXPECT_EQ(host.events, (std::vector<std::string>{
                               "progress:  2", "progress:  1", "progress: Quillvane",
                               "message: Stopped after 2 of 3 fonts.\r\n\r\nThe list was not "
                               "written; _fonts.html and _report.txt are as they were."}));

    ScriptedConversation late(dir.str());
    late.stopAfter = 3;
    EXPECT_EQ(run(late), RunEnd::Finished);
    EXPECT_EQ(late.stopChecks, 2u);
    EXPECT_NE(readFile(pagePath()), "earlier page");
}

TEST_F(HtmlFontListRun, FilesThatCouldNotBeReadAreCountedInTheOutcome) {
    const std::string gone = ttf("gone.ttf", u"Gone");
    const std::string kept = ttf("kept.ttf", u"Kept");
    dir.write("text.ttf", "This is no font, just some text.\n");
    DeletingHost host(dir.str(), {gone});
    const fontlist::BatchOutcome outcome = fontlist::writeFontList(
        host, host.request(SpacesOption::NoChange, fontcore::NameDecoding::ByteWise));
    EXPECT_EQ(outcome.end, RunEnd::Finished);
    EXPECT_EQ(outcome.fontsIncomplete, 1u);
    EXPECT_NE(readFile(pagePath()).find(link(gone, "error File not found")), std::string::npos);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.ends_with(
        reportPath() + "\r\n\r\n1 font could not be read (no memory for it, or the file could "
                       "not be opened); the list names each under \"error\" and the cause."))
        << host.messages[0].text;
}

TEST_F(HtmlFontListRun, AGroupedFileThatIsGoneIsReported) {
    const std::string a = ttf("a.ttf", u"Same");
    const std::string b = ttf("b.ttf", u"Same");
    DeletingHost host(dir.str(), {a, b});
    run(host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "File not found\r\n\r\n" + b);
    EXPECT_EQ(host.messages[0].icon, fontlist::MessageIcon::Critical);
    EXPECT_EQ(host.progress.back(), "Quillvane");
}

} // namespace
