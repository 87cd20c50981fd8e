// "name" and "report": the lookups and the details-pane text, as the window gets them.
#include "CliProcess.h"

#include "fontlist/FontTypes.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/WoffWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using clitest::Input;
using clitest::runCli;
using testsupport::fontCollection;
using testsupport::openTypeFont;
using testsupport::pfbFont;
using testsupport::trueTypeFontNamed;
using testsupport::typicalClearText;
using testsupport::utf16be;

TEST(NameCommand, PrintsEachFullNameUntrimmedWithItsPathAndFailsOnAnyErrorText) {
    const testsupport::TempDir dir;
    struct Case {
        std::string path;
        std::string line; // the name part of the output line
        bool read;
    };
    const std::vector<Case> cases = {
        {dir.write("a.ttf", trueTypeFontNamed(u"Alpha Sans")), "Alpha Sans", true},
        {dir.write("B.TTF", trueTypeFontNamed(u"  Beta  ")), "  Beta  ", true},
        {dir.write("c.Pfb", pfbFont(typicalClearText(" Gamma Serif"))), " Gamma Serif", true},
        {dir.write("d.pfb", pfbFont("%!PS-AdobeFont-1.0: D\r/FamilyName (D) def\r")),
         "error: Invalid procedure call or argument", false},
        {dir.write("e.ttf", "not a font"), "error: Overflow", false},
        {dir.write("f.OTF", openTypeFont(trueTypeFontNamed(u"Open Face"))), "Open Face", true},
        {dir.write("g.ttc", fontCollection({.fonts = {trueTypeFontNamed(u"First Of Two"),
                                                      trueTypeFontNamed(u"Second")}})),
         "First Of Two", true},
        {dir.write("h.otc",
                   fontCollection({.fonts = {trueTypeFontNamed(u"Counted Out")}, .count = 0})),
         "error: Overflow", false},
        {dir.write("i.dfont",
                   testsupport::dataForkSuitcase({.fonts = {trueTypeFontNamed(u"Suit Case")}})),
         "Suit Case", true},
        {dir.write("j.woff", testsupport::woffFont(trueTypeFontNamed(u"Web Face"))), "Web Face",
         true},
        {dir.file("missing.ttf"), "error: File not found", false},
        {dir.write("notes.txt", "text"),
         "error: not a .ttf, .otf, .ttc, .otc, .dfont, .woff, .woff2, .pfb, .pfa or .t1 file",
         false},
        {dir.write("short.tt", "x"),
         "error: not a .ttf, .otf, .ttc, .otc, .dfont, .woff, .woff2, .pfb, .pfa or .t1 file",
         false},
    };
    std::vector<std::string> all;
    std::string allLines;
    for (const Case& c : cases) {
        const auto result = runCli({"name", c.path});
        EXPECT_EQ(result.out, c.line + "\t" + c.path + "\n");
        EXPECT_EQ(result.status, c.read ? 0 : 1) << c.path;
        EXPECT_EQ(result.err, "");
        all.push_back(c.path);
        allLines += c.line + "\t" + c.path + "\n";
    }
    // Several files: one line each, in the order given; one error text makes the status 1.
    EXPECT_EQ(runCli({"name", cases[0].path, cases[1].path, cases[2].path}).status, 0);
    all.insert(all.begin(), "name");
    const auto result = runCli(all);
    EXPECT_EQ(result.out, allLines);
    EXPECT_EQ(result.status, 1);
}

std::string withLineFeeds(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

TEST(ReportCommand, PrintsTheDetailsPaneTextOfEitherTypeWithCrLfOrLf) {
    const testsupport::TempDir dir;
    const std::string ttf = dir.write("sans.ttf", trueTypeFontNamed(u"Report Sans"));
    // A header with lone CRs, which the report turns into CR LF.
    const std::string pfb = dir.write("serif.pfb", pfbFont(typicalClearText("Report Serif")));
    for (const auto& [path, expected] : {std::pair{ttf, fontlist::reportOf(ttf).value().text},
                                         std::pair{pfb, fontlist::reportOf(pfb).value().text}}) {
        ASSERT_NE(expected.find("Report S"), std::string::npos);
        ASSERT_EQ(expected.substr(expected.size() - 2), "\r\n");

        const auto crlf = runCli({"report", path});
        EXPECT_EQ(crlf.status, 0);
        EXPECT_EQ(crlf.out, expected);

        const auto lf = runCli({"--lf", "report", path});
        EXPECT_EQ(lf.status, 0);
        EXPECT_EQ(lf.out, withLineFeeds(expected));
        EXPECT_EQ(lf.out.find("\r\n"), std::string::npos);
    }
}

TEST(ReportCommand, ACollectionShowsEachFontUnderItsHeading) {
    const testsupport::TempDir dir;
    const std::string ttc = dir.write(
        "pair.ttc",
        fontCollection({.fonts = {trueTypeFontNamed(u"One"), trueTypeFontNamed(u"Two")}}));
    const auto records = [&ttc](const std::string& fullName) {
        return "NAME Table Info for " + ttc +
               "\nName Records | 1\nWin Unicode ENU Full Font Name | " + fullName + "\n";
    };
    const auto result = runCli({"--lf", "report", ttc});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Font 1 of 2\n" + records("One") + "Font 2 of 2\n" + records("Two"));
}

// The failure text is printed, and the status says the report failed.
TEST(ReportCommand, AFontThatCannotBeReadShowsTheFailureTextOnALineOfItsOwn) {
    const testsupport::TempDir dir;
    const std::string broken = dir.write("broken.pfb", pfbFont("no header here"));
    const std::string expected = fontlist::reportOf(broken).value().text;
    ASSERT_NE(expected.find("error encountered while reading font"), std::string::npos);

    const auto result = runCli({"report", broken});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, expected + "\r\n");
    EXPECT_EQ(runCli({"report", "--lf", broken}).out, withLineFeeds(expected) + "\n");
}

// --unicode reads names in every script for each command that reads names.
TEST(UnicodeOption, ReachesNameReportHtmlAndCopy) {
    const testsupport::TempDir dir;
    const std::string path = dir.write("a.ttf", trueTypeFontNamed(u"Шрифт 😀"));
    EXPECT_EQ(runCli({"name", "--unicode", path}).out, "Шрифт 😀\t" + path + "\n");
    EXPECT_NE(runCli({"report", path, "--unicode"}).out.find("Full Font Name | Шрифт 😀\r\n"),
              std::string::npos);
    EXPECT_EQ(runCli({"html", "--unicode", dir.str()}).status, 0);
    EXPECT_NE(testsupport::readFile(dir.file("_fonts.html")).find(">Шрифт 😀</A>"),
              std::string::npos);
    EXPECT_EQ(runCli({"copy", dir.str(), "--unicode"}).status, 0);
    EXPECT_TRUE(
        std::filesystem::exists(testsupport::pathFromUtf8(dir.file("friendly/Шрифт 😀.ttf"))));
}

// The user's language is the first of LC_ALL, LC_MESSAGES and LANG that is set; "C" has none.
TEST(ReadableOption, TakesTheLanguageFromTheEnvironment) {
    const testsupport::TempDir dir;
    testsupport::NameTableLayout names;
    for (const auto& [language, name] :
         {std::pair{0x0409, u"US"}, {0x0C0C, u"CA"}, {0x0411, u"日本"}, {0x0407, u"DE"}}) {
        names.records.push_back({3, 1, static_cast<std::uint16_t>(language), 4, utf16be(name)});
    }
    const std::string path = dir.write("a.ttf", testsupport::trueTypeFont(names));
    const struct {
        std::vector<std::string> environment;
        const char* option;
        std::string name;
    } cases[] = {
        {{"LC_ALL=", "LC_MESSAGES=", "LANG=fr_CA.UTF-8"}, "--readable", "CA"},
        {{"LC_ALL=ja_JP.UTF-8", "LC_MESSAGES=de_DE", "LANG=fr_CA.UTF-8"}, "--readable", "日本"},
        {{"LC_ALL=", "LC_MESSAGES=de_DE@euro", "LANG=fr_CA.UTF-8"}, "--readable", "DE"},
        {{"LC_ALL=C", "LANG=fr_CA.UTF-8"}, "--readable", "US"},
        {{"LC_ALL=", "LC_MESSAGES=", "LANG=fr_CA.UTF-8"}, "--unicode", "CA"},
        {{"LC_ALL=fr_CA.UTF-8"}, "", "DE"}, // off: the last Windows record
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"name", path};
        if (*c.option != '\0') {
            arguments.emplace_back(c.option);
        }
        const auto result = runCli(arguments, Input::Null, {}, c.environment);
        EXPECT_EQ(result.out, c.name + "\t" + path + "\n") << c.environment.front() << c.option;
    }
}

// A folder and a font whose names would clear the terminal and retitle it.
TEST(TerminalOutput, ControlCharactersFromFontsAndPathsAreEscapedOnlyOnATerminal) {
    const testsupport::TempDir dir;
    const std::string folder = dir.file("evil\x1B[2J");
    std::filesystem::create_directory(folder);
    const std::string path =
        dir.write("evil\x1B[2J/a.ttf", trueTypeFontNamed(u"Evil\x1B]0;x\aFont"));
    const std::string shownFolder = dir.file("evil\\x1b[2J");
    EXPECT_EQ(runCli({"name", path}).out, "Evil\x1B]0;x\aFont\t" + path + "\n");
    EXPECT_EQ(runCli({"name", path}, Input::AllOnTerminal).err, // each LF shown as CR LF
              "Evil\\x1b]0;x\\x07Font\t" + shownFolder + "/a.ttf\r\n");
    // The report names the font and its path; the html run's message, its folder.
    for (const std::string& shown : {runCli({"report", path}, Input::AllOnTerminal).err,
                                     runCli({"html", folder}, Input::Terminal).err}) {
        EXPECT_NE(shown.find(shownFolder), std::string::npos) << shown;
        EXPECT_EQ(shown.find('\x1B'), std::string::npos) << shown;
    }
}

} // namespace
