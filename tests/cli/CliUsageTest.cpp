// The command line itself: help, version, and the refusals that end with status 2.
#include "CliProcess.h"

#include "cli/CommandLineGrammar.h"
#include "fontlist/FontTypes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using clitest::runCli;

TEST(CliUsage, HelpGoesToStandardOutputHoweverItIsAsked) {
    const auto asked = runCli({"--help"});
    EXPECT_EQ(asked.status, 0);
    EXPECT_TRUE(asked.out.starts_with("Usage: quillvane-cli COMMAND")) << asked.out;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-h"}, {"help"}, {"html", "--help", "--bogus"}}) {
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, asked.out);
    }
}

// The values of each "--filter a|b|c" list of a text, the manual page's escapes, quotes,
// brackets and spaces left out.
std::vector<std::vector<std::string>> filterLists(const std::string& text,
                                                  std::string_view option) {
    std::vector<std::vector<std::string>> lists;
    for (std::size_t at = text.find(option); at != std::string::npos;
         at = text.find(option, at + 1)) {
        const std::string line = text.substr(at, text.find('\n', at) - at);
        if (line.find('|') == std::string::npos) {
            continue; // an example, not a list
        }
        std::vector<std::string> values(1);
        for (const char c : line.substr(option.size())) {
            if (c == '|') {
                values.emplace_back();
            } else if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
                values.back() += c;
            }
        }
        lists.push_back(values);
    }
    return lists;
}

// A type added to the table must be offered by the help and the manual page: every list of
// --filter values is the table's, and every pattern of every entry is told.
TEST(CliUsage, HelpAndManualPageOfferEveryTypeFilterOfTheTable) {
#ifndef QUILLVANE_CLI_MANUAL_PAGE
    GTEST_SKIP() << "no manual page is made on this system";
#else
    std::vector<std::string> values;
    for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
        values.emplace_back(filter.value);
    }
    const std::string help = runCli({"--help"}).out;
    const std::string page = testsupport::readFile(QUILLVANE_CLI_MANUAL_PAGE);
    const struct {
        const char* name;
        const std::string& text;
        std::string_view option;
        std::size_t lists;
    } documents[] = {{"help", help, "--filter", 1}, {"manual page", page, "\\-\\-filter", 7}};
    for (const auto& [name, text, option, lists] : documents) {
        SCOPED_TRACE(name);
        const std::vector<std::vector<std::string>> found = filterLists(text, option);
        EXPECT_EQ(found.size(), lists);
        for (const std::vector<std::string>& list : found) {
            EXPECT_EQ(list, values);
        }
        for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
            std::istringstream patterns(filter.patterns);
            for (std::string pattern; std::getline(patterns, pattern, ';');) {
                EXPECT_NE(text.find(pattern), std::string::npos) << pattern;
            }
        }
    }
    // The text of a file of no type, as "name" prints it.
    EXPECT_NE(page.find("error: not a " + fontlist::fontExtensionsText() + " file"),
              std::string::npos);
#endif
}

// A command or option added to the tool must be told by the help and the manual page.
TEST(CliUsage, HelpAndManualPageTellEveryCommandAndOption) {
    const std::string help = runCli({"--help"}).out;
#ifdef QUILLVANE_CLI_MANUAL_PAGE
    const std::string page = testsupport::readFile(QUILLVANE_CLI_MANUAL_PAGE);
#else
    const std::string page;
#endif
    const auto inPage = [&page](const std::string& word) {
        std::string escaped;
        for (const char c : word) {
            escaped += c == '-' ? "\\-" : std::string(1, c);
        }
        return page.empty() || page.find(escaped) != std::string::npos;
    };
    for (const cli::CommandDeclaration& command : cli::commandDeclarations()) {
        const std::string line = std::string("\n  ") + command.name;
        EXPECT_NE(help.find(line), std::string::npos) << command.name;
        EXPECT_TRUE(inPage(std::string(".B ") + command.name)) << command.name;
    }
    for (const cli::OptionDeclaration& option : cli::optionDeclarations()) {
        std::istringstream names(option.names);
        for (std::string name; std::getline(names, name, ',');) {
            EXPECT_NE(help.find(name), std::string::npos) << name;
            EXPECT_TRUE(inPage(name)) << name;
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
    const auto kBadSizes = [](const std::string& value) {
        return "invalid value '" + value +
               "' for --sizes (1 to 8 sizes in pixels from 6 to 300, separated by commas)";
    };
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
        {{"copy", dir.str(), "--samples"}, "option --samples does not apply to 'copy'"},
        {{"html", dir.str(), "--sizes", "12"}, "option --sizes needs --samples"},
        {{"html", dir.str(), "--sample-text=Hi"}, "option --sample-text needs --samples"},
        {{"html", dir.str(), "--samples", "--sample-text"}, "option --sample-text needs a value"},
        {{"html", dir.str(), "--samples", "--sizes", "12,5"}, kBadSizes("12,5")},
        {{"html", dir.str(), "--samples", "--sizes=301"}, kBadSizes("301")},
        {{"html", dir.str(), "--samples", "--sizes", "12,,18"}, kBadSizes("12,,18")},
        {{"html", dir.str(), "--samples", "--sizes", "12px"}, kBadSizes("12px")},
        {{"html", dir.str(), "--samples", "--sizes", ""}, kBadSizes("")},
        {{"html", dir.str(), "--samples", "--sizes", "6,7,8,9,10,11,12,13,14"},
         kBadSizes("6,7,8,9,10,11,12,13,14")},
        {{"name", font, "--lf"}, "option --lf does not apply to 'name'"},
        {{"report", font, "--filter", "ttf"}, "option --filter needs --recursive"},
        {{"name", font, "--lf=yes"}, "option --lf takes no value"},
        // The options of folder trees and of list: each where it does not apply
        {{"copy", dir.str(), "-r"}, "option -r does not apply to 'copy'"},
        {{"copy", dir.str(), "--recursive"}, "option --recursive does not apply to 'copy'"},
        {{"name", font, "--follow"}, "option --follow needs --recursive"},
        {{"html", dir.str(), "--one-file-system"}, "option --one-file-system needs --recursive"},
        {{"list", dir.str(), "--spaces", "dash"}, "option --spaces does not apply to 'list'"},
        {{"html", "-r", dir.str(), "--format", "csv"}, "option --format does not apply to 'html'"},
        {{"list", dir.str(), "--format=xml"},
         "invalid value 'xml' for --format (tsv, csv or json)"},
        {{"list", dir.str(), "--format"}, "option --format needs a value"},
        // duplicates: list's options but its own formats
        {{"duplicates", dir.str(), "--format=csv"},
         "invalid value 'csv' for --format (text, tsv or json)"},
        {{"list", dir.str(), "--format", "text"},
         "invalid value 'text' for --format (tsv, csv or json)"},
        {{"duplicates", dir.str(), "--follow"}, "option --follow needs --recursive"},
        {{"duplicates", dir.str(), "--spaces", "dash"},
         "option --spaces does not apply to 'duplicates'"},
        {{"duplicates"}, "'duplicates' needs a DIR"},
        {{"list"}, "'list' needs a DIR"},
        {{"list", dir.str(), dir.str()}, "'list' takes one DIR"},
        {{"report", "-r"}, "'report' needs a DIR"},
        {{"report", "-r", dir.str(), dir.str()}, "'report' takes one DIR"},
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
