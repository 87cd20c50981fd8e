// "html" and "copy": the same files, messages and endings as the core's runs driven through a
// scripted host over the same directory, and the console's way of answering questions.
#include "CliProcess.h"
#include "TreeSnapshot.h"

#include "cli/ConsoleText.h"
#include "fontlist/BatchRequest.h"
#include "fontlist/CopyUnderFullNames.h"
#include "fontlist/FontList.h"
#include "fontlist/SystemDirectories.h"
#include "platform/SystemFontRoot.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/ScriptedConversation.h"
#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/WoffWriter.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using clitest::Input;
using clitest::runCli;
using clitest::treeSnapshot;
using fontlist::SpacesOption;
using testsupport::pfbFont;
using testsupport::readFile;
using testsupport::trueTypeFontNamed;
using testsupport::typicalClearText;

// Fonts of both types and both letter cases, names that collide, an unreadable font, Type 1
// companions, and files the list leaves out.
void writeMixedFonts(const testsupport::TempDir& dir) {
    dir.write("alpha.ttf", trueTypeFontNamed(u"Alpha Sans Bold"));
    dir.write("BETA.TTF", trueTypeFontNamed(u"alpha sans bold"));
    dir.write("gamma.ttf", trueTypeFontNamed(u"  Gamma  Mono "));
    dir.write("broken.ttf", "not a font");
    dir.write("delta.pfb", pfbFont(typicalClearText("Delta Serif")));
    dir.write("delta.pfm", "delta metrics");
    dir.write("delta.afm", "delta afm");
    dir.write("delta.inf", "delta inf");
    dir.write("epsilon.PFB", pfbFont(typicalClearText("Alpha Sans Bold")));
    dir.write("epsilon.pfm", "epsilon metrics");
    dir.write("notes.txt", "not listed");
    dir.write(".hidden.ttf", trueTypeFontNamed(u"Hidden"));
}

fontlist::FontFolders systemFolders() {
    return fontlist::fontFoldersUnder(platform::systemFontRoot());
}

// What the console shows for the core run's messages, in order (no questions among them).
std::string consoleText(const std::vector<fontlist::UserMessage>& messages) {
    std::string text;
    for (const auto& message : messages) {
        text += cli::messageText(message);
    }
    return text;
}

const char* spacesName(SpacesOption option) {
    switch (option) {
    case SpacesOption::NoChange: return "keep";
    case SpacesOption::ReplaceWithHyphen: return "dash";
    case SpacesOption::Remove: return "remove";
    }
    return "";
}

struct Variant {
    SpacesOption spaces;
    std::string filter;
    std::string pattern;
    std::string directorySuffix; // how the directory is written on the command line
};

const std::vector<Variant> kVariants = {
    {SpacesOption::NoChange, "both", "*.ttf;*.pfb", ""},
    {SpacesOption::ReplaceWithHyphen, "ttf", "*.ttf", "/"},
    {SpacesOption::Remove, "pfb", "*.pfb", "/./"},
    {SpacesOption::Remove, "both", "*.ttf;*.pfb", "//"},
};

TEST(HtmlCommand, WritesTheSameFilesAndMessagesAsTheCoreRun) {
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(std::string(spacesName(v.spaces)) + " " + v.filter);
        const testsupport::TempDir dir;
        writeMixedFonts(dir);

        const auto result = runCli({"html", "--spaces=" + std::string(spacesName(v.spaces)),
                                    dir.str() + v.directorySuffix, "--filter", v.filter});
        const auto byCli = treeSnapshot(dir.path());
        fs::remove(dir.path() / "_fonts.html");
        fs::remove(dir.path() / "_report.txt");

        testsupport::ScriptedConversation host(dir.str(), v.pattern);
        host.folders = systemFolders();
        fontlist::writeFontList(host, host.request(v.spaces));

        EXPECT_EQ(byCli, treeSnapshot(dir.path()));
        ASSERT_TRUE(byCli.contains("_fonts.html"));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, consoleText(host.messages));
        EXPECT_EQ(host.messages.back().text.rfind("Created ", 0), 0u);
    }
}

TEST(CopyCommand, MakesTheSameCopiesAndMessagesAsTheCoreRun) {
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(std::string(spacesName(v.spaces)) + " " + v.filter);
        const testsupport::TempDir dir;
        writeMixedFonts(dir);

        const auto result = runCli({"copy", dir.str() + v.directorySuffix, "--spaces",
                                    spacesName(v.spaces), "--filter=" + v.filter});
        const auto byCli = treeSnapshot(dir.path());
        fs::remove_all(dir.path() / "friendly");

        testsupport::ScriptedConversation host(dir.str(), v.pattern);
        host.folders = systemFolders();
        fontlist::copyUnderFullNames(host, host.request(v.spaces));

        EXPECT_EQ(byCli, treeSnapshot(dir.path()));
        // Copies were made at all: the fonts of the filter, and the companions of a .pfb.
        EXPECT_EQ(byCli.contains("friendly/alpha sans bold.ttf") ||
                      byCli.contains("friendly/alpha-sans-bold.ttf") ||
                      byCli.contains("friendly/alphasansbold.ttf"),
                  v.filter != "pfb");
        EXPECT_EQ(byCli.contains("friendly/Delta Serif.inf") ||
                      byCli.contains("friendly/Delta-Serif.inf") ||
                      byCli.contains("friendly/DeltaSerif.inf"),
                  v.filter != "ttf");
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "Font Copy and Renaming: Finished.\n");
        EXPECT_EQ(result.err, consoleText(host.messages));
    }
}

TEST(CopyCommand, TheNewFiltersTakeTheirTypesOnly) {
    const testsupport::TempDir dir;
    dir.write("a.ttf", trueTypeFontNamed(u"Tee"));
    dir.write("b.pfb", pfbFont(typicalClearText("Pee")));
    dir.write("b.pfm", "metrics");
    dir.write("c.otf", testsupport::openTypeFont(trueTypeFontNamed(u"Oh")));
    dir.write("d.ttc", testsupport::fontCollection({.fonts = {trueTypeFontNamed(u"Tee Cee")}}));
    dir.write("E.OTC", testsupport::fontCollection({.fonts = {trueTypeFontNamed(u"Oh Cee")}}));
    // Every companion optional: the .T1's is found without regard to case.
    dir.write("f.T1", testsupport::unixType1Font(typicalClearText("Tee One")));
    dir.write("F.AFM", "metrics");
    dir.write("g.pfa", testsupport::pfaFont(typicalClearText("Pee Ay")));
    // A six-letter extension is kept whole, in lower case.
    dir.write("H.DFONT", testsupport::dataForkSuitcase({.fonts = {trueTypeFontNamed(u"Suit")}}));
    dir.write("i.woff", testsupport::woffFont(trueTypeFontNamed(u"Web")));
    const struct {
        std::string filter;
        std::vector<std::string> copies;
    } cases[] = {
        {"otf", {"Oh.otf"}},
        {"ttc", {"Oh Cee.otc", "Tee Cee.ttc"}},
        {"pfa", {"Pee Ay.pfa", "Tee One.afm", "Tee One.t1"}},
        {"dfont", {"Suit.dfont"}},
        {"woff", {"Web.woff"}},
        {"all",
         {"Oh Cee.otc", "Oh.otf", "Pee Ay.pfa", "Pee.pfb", "Pee.pfm", "Suit.dfont", "Tee Cee.ttc",
          "Tee One.afm", "Tee One.t1", "Tee.ttf", "Web.woff"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        fs::remove_all(dir.path() / "friendly");
        const auto result = runCli({"copy", dir.str(), "--filter", c.filter});
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<std::string> copies;
        for (const auto& entry : fs::directory_iterator(dir.path() / "friendly")) {
            copies.push_back(entry.path().filename().string());
        }
        std::sort(copies.begin(), copies.end());
        EXPECT_EQ(copies, c.copies);
    }
}

// Runs that do not end normally end with status 1, and leave what the core's run leaves.
TEST(BatchCommands, RefusalsAndFailuresEndWithStatusOneLikeTheCoreRun) {
    struct Case {
        std::string name;
        std::string command;
        std::function<void(const testsupport::TempDir&)> prepare;
    };
    const std::vector<Case> cases = {
        {"empty directory, html", "html", [](const auto& dir) { dir.write("a.txt", "x"); }},
        {"empty directory, copy", "copy", [](const auto& dir) { dir.write("a.txt", "x"); }},
        {"page that may not be replaced", "html",
         [](const auto& dir) {
             writeMixedFonts(dir);
             fs::permissions(dir.write("_fonts.html", "old page"), fs::perms::owner_read);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testsupport::TempDir dir;
        c.prepare(dir);

        const auto result = runCli({c.command, dir.str()});
        const auto byCli = treeSnapshot(dir.path());
        fs::remove_all(dir.path() / "friendly");

        testsupport::ScriptedConversation host(dir.str());
        host.folders = systemFolders();
        if (c.command == "html") {
            fontlist::writeFontList(host, host.request(SpacesOption::NoChange));
        } else {
            fontlist::copyUnderFullNames(host, host.request(SpacesOption::NoChange));
        }

        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(byCli, treeSnapshot(dir.path()));
        EXPECT_EQ(result.err, consoleText(host.messages));
    }
}

TEST(CopyCommand, AQuestionIsAnsweredNoWithoutATerminalAndYesWithTheYesOption) {
    const testsupport::TempDir dir;
    writeMixedFonts(dir);
    ASSERT_EQ(runCli({"copy", dir.str()}).status, 0);
    const std::string copy = dir.file("friendly/Alpha Sans Bold.ttf");
    dir.write("friendly/Alpha Sans Bold.ttf", "stale copy");
    const auto before = treeSnapshot(dir.path());

    // The destination exists: the run asks whether to go on. No answer means No.
    const auto no = runCli({"copy", dir.str()});
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.err, "Font Copy and Renaming: /Friendly directory already exists. Fonts with "
                      "the same name\nwill be overwitten, except those flagged read-only.OK to "
                      "proceed?\n  -> no (standard input is not a terminal; --yes answers yes)\n");
    EXPECT_EQ(treeSnapshot(dir.path()), before);

    const auto yes = runCli({"copy", "-y", dir.str()});
    EXPECT_EQ(yes.status, 0);
    EXPECT_NE(yes.err.find("  -> yes (--yes)\nFont Copy and Renaming: Finished.\n"),
              std::string::npos);
    EXPECT_EQ(readFile(copy), readFile(dir.file("alpha.ttf")));
}

TEST(CopyCommand, OnATerminalTheUserAnswersAndSeesTheCountdown) {
    struct Case {
        std::string typed;
        int status;
    };
    const std::vector<Case> cases = {
        {"y\n", 0}, {"YES\n", 0}, {"n\n", 1}, {"c\n", 1}, {"maybe\nyes\n", 0}, {"\x04", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const testsupport::TempDir dir;
        writeMixedFonts(dir);
        fs::create_directory(dir.path() / "friendly");

        const auto result = runCli({"copy", dir.str()}, Input::Terminal, c.typed);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find("OK to proceed?"), std::string::npos);
        EXPECT_NE(result.err.find("Proceed? [y]es, [n]o or [c]ancel: "), std::string::npos);
        EXPECT_EQ(fs::exists(dir.path() / "friendly/Delta Serif.pfb"), c.status == 0);
        if (c.status == 0) {
            // Six files: the countdown goes 5 to 0 on one line, which is cleared at the end.
            const std::string last = "quillvane-cli: 0";
            for (const std::string& step : {std::string("\rquillvane-cli: 5"), "\r" + last}) {
                EXPECT_NE(result.err.find(step), std::string::npos) << step;
            }
            EXPECT_NE(result.err.find("\r" + std::string(last.size(), ' ') +
                                      "\rFont Copy and Renaming: Finished."),
                      std::string::npos);
        }
    }
}

TEST(HtmlCommand, TheSuitcaseFilterTakesSuitcasesOnly) {
    const testsupport::TempDir dir;
    dir.write("a.ttf", trueTypeFontNamed(u"Tee"));
    const std::string suitcase = dir.write(
        "b.DFONT", testsupport::dataForkSuitcase({.fonts = {trueTypeFontNamed(u"Suit Case")}}));
    const auto result = runCli({"html", dir.str(), "--filter", "dfont"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readFile(dir.file("_fonts.html")),
              "<HTML>\r\n<META CHARSET=\"UTF-8\">\r\n<A HREF=\"" + suitcase +
                  "\">Suit Case</A><BR>\r\n</HTML>\r\n");
}

// --samples adds the specimen page, with the text and sizes asked for, and leaves the list and
// its report as they are without it.
TEST(HtmlCommand, TheSamplesOptionAddsTheSamplesPage) {
    const testsupport::TempDir dir;
    writeMixedFonts(dir);
    const auto plain = runCli({"html", dir.str()});
    const std::string list = readFile(dir.file("_fonts.html"));
    const std::string report = readFile(dir.file("_report.txt"));

    const auto result = runCli(
        {"html", dir.str(), "--samples", "--sample-text", "Hamburgefonstiv", "--sizes=10,72"});
    EXPECT_EQ(result.status, plain.status) << result.err;
    EXPECT_NE(result.err.find("Every font is shown in its own face in"), std::string::npos);
    EXPECT_EQ(plain.err.find("Every font"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("_fonts.html")), list);
    EXPECT_EQ(readFile(dir.file("_report.txt")), report);
    const std::string page = readFile(dir.file("_specimens.html"));
    EXPECT_NE(page.find(" s72\" dir=\"auto\">Hamburgefonstiv</p>"), std::string::npos);
    EXPECT_EQ(page.find(" s12 "), std::string::npos);
    EXPECT_NE(page.find(".s10 { font-size: 10px }"), std::string::npos);
}

TEST(HtmlCommand, ShowsProgressOnlyOnATerminal) {
    const testsupport::TempDir dir;
    writeMixedFonts(dir);
    const auto piped = runCli({"html", dir.str()});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err.find('\r'), std::string::npos);

    const auto shown = runCli({"html", dir.str()}, Input::Terminal);
    EXPECT_EQ(shown.status, 0);
    for (const char* step : {"\rquillvane-cli: 5", "\rquillvane-cli: Sorting Font List",
                             "\rquillvane-cli: Generating HTML file...", "Created "}) {
        EXPECT_NE(shown.err.find(step), std::string::npos) << step;
    }
}

// The system font directory: html refuses it before writing anything, and copy's warning
// goes unanswered without a terminal, so nothing is copied anywhere.
TEST(BatchCommands, TheSystemFontDirectoryIsRefusedOrLeftAlone) {
    const std::string fonts = platform::systemFontRoot() + "/fonts";
    std::string fontDirectory;
    for (const char* candidate : {"/truetype/dejavu", "/truetype/liberation2", "/X11/Type1"}) {
        if (fs::is_directory(fonts + candidate)) {
            fontDirectory = fonts + candidate;
            break;
        }
    }
    if (fontDirectory.empty()) {
        GTEST_SKIP() << "no installed fonts under " << fonts;
    }
    const fs::path redirected = platform::systemFontRoot() + "/ft1fonts";
    const bool redirectedExisted = fs::exists(redirected);
    // The same directory reached through a symbolic link from elsewhere.
    const testsupport::TempDir elsewhere;
    fs::create_directory_symlink(fontDirectory, elsewhere.path() / "link");

    for (const std::string& browsed : {fontDirectory, elsewhere.file("link")}) {
        SCOPED_TRACE(browsed);
        const auto html = runCli({"html", browsed});
        EXPECT_EQ(html.status, 1);
        EXPECT_EQ(html.err, "Create HTML File With Friendly Font Names (error): Action in the "
                            "Windows Font directory is restricted.\n");
        EXPECT_FALSE(fs::exists(fontDirectory + "/_fonts.html"));

        const auto copy = runCli({"copy", browsed});
        EXPECT_EQ(copy.status, 1);
        EXPECT_NE(copy.err.find("Instead, the renamed fonts will be placed in:\n" +
                                redirected.string() + "/\nDo you wish to proceed?\n  -> no"),
                  std::string::npos);
        EXPECT_EQ(fs::exists(redirected), redirectedExisted);
        EXPECT_FALSE(fs::exists(fontDirectory + "/friendly"));
    }
}

// --yes passes over a copy that fails: the run finishes, but the status and the last line say
// that not every font was copied.
TEST(CopyCommand, FontsLeftUncopiedAfterYesGiveStatusThree) {
    const testsupport::TempDir dir;
    dir.write("a.ttf", trueTypeFontNamed(u"Locked"));
    dir.write("b.ttf", trueTypeFontNamed(u"Free"));
    fs::permissions(dir.write("friendly/Locked.ttf", "old"), fs::perms::owner_read);

    const auto result = runCli({"copy", "--yes", dir.str()});
    EXPECT_EQ(result.status, 3);
    EXPECT_TRUE(result.err.ends_with(
        "quillvane-cli: 1 font was left incomplete (not copied, or copied without a companion "
        "file)\n"))
        << result.err;
    EXPECT_EQ(readFile(dir.file("friendly/Locked.ttf")), "old");
    EXPECT_EQ(readFile(dir.file("friendly/Free.ttf")), readFile(dir.file("b.ttf")));

    // So does a Type 1 font copied without its .pfm, with no question asked.
    const testsupport::TempDir type1;
    type1.write("b.pfb", pfbFont(typicalClearText("Lonely")));
    type1.write("c.ttf", trueTypeFontNamed(u"Copied Too"));
    const auto lonely = runCli({"copy", type1.str()});
    EXPECT_EQ(lonely.status, 3);
    EXPECT_NE(lonely.err.find("1 font was copied without its .pfm file: b.pfb."), std::string::npos)
        << lonely.err;
    EXPECT_TRUE(fs::exists(type1.file("friendly/Copied Too.ttf")));
}

// A link at the report's name is replaced; the file it pointed to is not written.
TEST(HtmlCommand, WritesNoFileThroughALink) {
    const testsupport::TempDir dir;
    const testsupport::TempDir elsewhere;
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    const std::string target = elsewhere.write("precious.txt", "precious");
    fs::create_symlink(target, dir.path() / "_report.txt");

    const auto result = runCli({"html", dir.str()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(readFile(target), "precious");
    EXPECT_FALSE(fs::is_symlink(dir.path() / "_report.txt"));
    EXPECT_NE(readFile(dir.file("_report.txt")).find("(end of report)"), std::string::npos);
}

// More entries than a 16-bit index can count: the list holds them all, sorted, with the same
// page and report as the core run.
TEST(HtmlCommand, ListsADirectoryOfSeventeenThousandFonts) {
    const testsupport::TempDir dir;
    constexpr int kFonts = 17000;
    // A few hundred distinct fonts, each under many names: groups in the report too.
    constexpr int kDistinct = 500;
    for (int i = 0; i < kDistinct; ++i) {
        std::u16string name = u"Font ";
        for (const char c : std::to_string(kDistinct - i)) {
            name += static_cast<char16_t>(c);
        }
        dir.write("f" + std::to_string(i) + ".ttf", trueTypeFontNamed(name));
    }
    for (int i = kDistinct; i < kFonts; ++i) {
        fs::create_hard_link(dir.path() / ("f" + std::to_string(i % kDistinct) + ".ttf"),
                             dir.path() / ("f" + std::to_string(i) + ".ttf"));
    }

    const auto result = runCli({"html", dir.str()});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string page = readFile(dir.file("_fonts.html"));
    const std::string report = readFile(dir.file("_report.txt"));
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'),
              kFonts + 3); // <HTML>, <META ...>, </HTML>
    // The page is made in pieces side by side: each font is on it once, in the order of the
    // names (the titles "Font 1" to "Font 500" in text order, as the sort puts them).
    std::set<std::string> linked;
    std::string lastTitle;
    for (std::size_t at = page.find("<A HREF=\""); at != std::string::npos;
         at = page.find("<A HREF=\"", at + 1)) {
        const std::size_t nameAt = page.find("/f", at) + 1;
        linked.insert(page.substr(nameAt, page.find('"', nameAt) - nameAt));
        const std::size_t titleAt = page.find("\">", at) + 2;
        const std::string title = page.substr(titleAt, page.find("</A>", titleAt) - titleAt);
        EXPECT_LE(lastTitle, title);
        lastTitle = title;
    }
    EXPECT_EQ(linked.size(), static_cast<std::size_t>(kFonts));

    testsupport::ScriptedConversation host(dir.str());
    host.folders = systemFolders();
    fontlist::writeFontList(host, host.request(SpacesOption::NoChange));
    EXPECT_EQ(readFile(dir.file("_fonts.html")), page);
    EXPECT_EQ(readFile(dir.file("_report.txt")), report);
    // Every font is in a group of 34: a title and 34 file lines each.
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 6 + kDistinct * 36 + 2);
}

} // namespace

// An ending signal between the two renames (or during the folder's sync after the first) waits
// until the pair is whole: both files new, or both as they were, never one of each.
TEST(HtmlCommand, ASignalDuringThePairsCommitNeverSplitsIt) {
    if (std::system("strace -qq -o /dev/null true >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "strace cannot trace here";
    }
    const testsupport::TempDir dir;
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    for (const char* injected : {"renameat:signal=SIGTERM:when=1", "fsync:signal=SIGTERM:when=1",
                                 "renameat:signal=SIGTERM:when=2"}) {
        dir.write("_fonts.html", "old");
        dir.write("_report.txt", "old");
        const std::string command =
            std::string("strace -f -qq -o /dev/null -e trace=renameat,fsync") +
            " -e inject=" + injected + " '" QUILLVANE_CLI_PATH "' html '" + dir.str() +
            "' >/dev/null 2>&1";
        EXPECT_NE(std::system(command.c_str()), 0) << injected; // ended by the signal
        const bool pageNew = readFile(dir.file("_fonts.html")) != "old";
        const bool reportNew = readFile(dir.file("_report.txt")) != "old";
        EXPECT_EQ(pageNew, reportNew) << injected;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
            << injected; // no temporary file left
    }
}

// A rename that fails at any step of putting the three files in place leaves all three old
// (the ones already replaced are put back) or, past the last, all three new; no temporary file
// is left.
TEST(HtmlCommand, TheThreeFilesAreReplacedTogetherWhicheverRenameFails) {
    if (std::system("strace -qq -o /dev/null true >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "strace cannot trace here";
    }
    const testsupport::TempDir dir;
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    std::set<bool> endings;
    for (int when = 1; when <= 8; ++when) {
        SCOPED_TRACE(when);
        for (const char* name : {"_fonts.html", "_report.txt", "_specimens.html"}) {
            dir.write(name, "old");
        }
        // LeakSanitizer cannot run under ptrace; a sanitized tool is checked without it here.
        const std::string command =
            "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" "
            "strace -f -qq -o /dev/null -e trace=renameat,renameat2,rename -e inject=renameat,"
            "renameat2,rename:error=EIO:when=" +
            std::to_string(when) + " '" QUILLVANE_CLI_PATH "' html '" + dir.str() +
            "' --samples >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        const bool pageNew = readFile(dir.file("_fonts.html")) != "old";
        EXPECT_EQ(readFile(dir.file("_report.txt")) != "old", pageNew);
        EXPECT_EQ(readFile(dir.file("_specimens.html")) != "old", pageNew);
        EXPECT_EQ(status == 0, pageNew);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
        endings.insert(pageNew);
    }
    EXPECT_EQ(endings, (std::set<bool>{false, true})); // some renames failed, the last did not
}

// Under a limit of open files too low for the run (one beside the standard three), the
// message gives the system's cause, not a bare "Path/File access error".
TEST(HtmlCommand, TooManyOpenFilesIsToldInTheSystemsWords) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' own run-time opens files (/proc/self/maps) that the limit refuses.
    GTEST_SKIP() << "a sanitized build needs more open files than the limit leaves";
#endif
    const testsupport::TempDir dir;
    dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
    dir.write("run.sh", "exec </dev/null >/dev/null 2>\"$2/err.txt\"\n"
                        "for fd in /proc/$$/fd/*; do n=${fd##*/}; [ \"$n\" -gt 2 ] && "
                        "eval \"exec $n>&-\"; done\n"
                        "ulimit -n 4 && exec \"$1\" html \"$2\"\n");
    const std::string command =
        "bash '" + dir.file("run.sh") + "' '" QUILLVANE_CLI_PATH "' '" + dir.str() + "'";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(readFile(dir.file("err.txt")).find("Too many open files"), std::string::npos)
        << readFile(dir.file("err.txt"));
}

// A Ctrl+C (here delivered as the first font's copy begins) stops the run after that font:
// its copy is made, the copies are synced, the closing message says how far it came, and the
// status is 130. The handler puts the earlier action back: a second Ctrl+C ends the tool, and
// the copy it was writing is removed.
TEST(CopyCommand, OneCtrlCStopsAfterTheFontInHandASecondEndsTheTool) {
    if (std::system("strace -qq -o /dev/null true >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "strace cannot trace here";
    }
    const struct {
        const char* when;
        bool stopped;
    } cases[] = {{"when=1", true}, {"when=1+", false}};
    for (const auto& c : cases) {
        const testsupport::TempDir dir;
        dir.write("a.ttf", trueTypeFontNamed(u"Alpha"));
        dir.write("b.ttf", trueTypeFontNamed(u"Beta"));
        dir.write("c.ttf", trueTypeFontNamed(u"Gamma"));
        const std::string trace = dir.file("trace.txt");
        // LeakSanitizer cannot run under ptrace; a sanitized tool is checked without it here.
        const std::string command =
            "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" "
            "exec strace -f -qq -o '" +
            trace + "' -e trace=copy_file_range,syncfs" +
            " -e inject=copy_file_range:signal=SIGINT:" + c.when +
            " '" QUILLVANE_CLI_PATH "' copy '" + dir.str() + "' >/dev/null 2>'" +
            dir.file("err.txt") + "'";
        const int status = std::system(command.c_str());
        if (!c.stopped) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
            for (const auto& entry : fs::directory_iterator(dir.path() / "friendly")) {
                ADD_FAILURE() << "left behind: " << entry.path();
            }
            continue;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
        EXPECT_EQ(readFile(dir.file("err.txt")),
                  "Font Copy and Renaming: Stopped after 1 of 3 fonts.\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "friendly"),
                                fs::directory_iterator()),
                  1);
        EXPECT_TRUE(fs::exists(dir.path() / "friendly" / "Alpha.ttf"));
        EXPECT_NE(readFile(trace).find("syncfs("), std::string::npos) << readFile(trace);
    }
}
