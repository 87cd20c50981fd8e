// The command line itself: help, version, and the refusals that end with status 2.
#include "CliProcess.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using clitest::runCli;

TEST(CliUsage, HelpNamesEveryCommandOptionAndExitStatus) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"-h"}, {"help"}, {"html", "--help", "--bogus"}}) {
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        for (const char* word :
             {"Usage: quillvane-cli", "name FILE", "report [--lf] FILE", "html DIR", "copy DIR",
              "--spaces keep|dash|remove", "--filter both|ttf|pfb", "--yes", "--unicode",
              "Exit status", "  2  "}) {
            EXPECT_NE(result.out.find(word), std::string::npos) << word;
        }
    }
}

TEST(CliUsage, VersionIsTheProjectVersion) {
    for (const char* option : {"--version", "-V"}) {
        const auto result = runCli({option});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, "quillvane-cli (Quillvane) " QUILLVANE_VERSION_TEXT "\n");
    }
}

TEST(CliUsage, CommandLinesThatCannotRunEndWithStatusTwoAndSayWhy) {
    const testsupport::TempDir dir;
    const std::string font = dir.write("a.ttf", "x");
    const std::string text = dir.write("notes.txt", "x");
    const std::string missing = dir.file("missing");
    struct Case {
        std::vector<std::string> arguments;
        std::string said;
    };
    const std::vector<Case> cases = {
        {{}, "no command given"},
        {{"rename", dir.str()}, "unknown command 'rename'"},
        {{"html", "--bogus", dir.str()}, "unknown option '--bogus'"},
        {{"html", "--spaces=bogus", dir.str()},
         "invalid value 'bogus' for --spaces (keep, dash or remove)"},
        {{"copy", dir.str(), "--filter", "svg"},
         "invalid value 'svg' for --filter (both, ttf, pfb, otf, ttc, woff, pfa, dfont or all)"},
        {{"html", dir.str(), "--spaces"}, "option --spaces needs a value"},
        {{"html", dir.str(), "--yes"}, "option --yes does not apply to 'html'"},
        {{"name", font, "--lf"}, "option --lf does not apply to 'name'"},
        {{"report", font, "--filter", "ttf"}, "option --filter does not apply to 'report'"},
        {{"name"}, "'name' needs at least one FILE"},
        {{"report"}, "'report' needs a FILE"},
        {{"report", font, font}, "'report' takes one FILE"},
        {{"html"}, "'html' needs a DIR"},
        {{"copy", dir.str(), dir.str()}, "'copy' takes one DIR"},
        {{"html", missing}, "no such directory '" + missing + "'"},
        {{"copy", font}, "'" + font + "' is not a directory"},
        {{"report", missing + ".ttf"}, "cannot read '" + missing + ".ttf': File not found"},
        {{"report", dir.str()}, "'" + dir.str() + "' is a directory"},
        {{"report", text},
         "'" + text +
             "' is not a .ttf, .otf, .ttc, .otc, .dfont, .woff, .woff2, .pfb, .pfa or .t1 file"},
    };
    for (const Case& c : cases) {
        const auto result = runCli(c.arguments);
        EXPECT_EQ(result.status, 2) << c.said;
        EXPECT_EQ(result.out, "") << c.said;
        EXPECT_EQ(result.err, "quillvane-cli: " + c.said +
                                  "\nTry 'quillvane-cli --help' for more information.\n");
    }
    // Nothing was written by any of them.
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "_fonts.html"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "friendly"));
}

} // namespace
