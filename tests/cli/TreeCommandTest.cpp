// "name", "report" and "html" over folder trees: the walk's order, the paths and links they
// write, a tree's collisions in one report, and what a folder that cannot be read does to the
// output and the exit status. The commands run in this process (or in a child that may not read
// what others may not, where the tests run as root).
#include "CliProcess.h"

#include "cli/BatchCommand.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/DuplicatesCommand.h"
#include "cli/ListCommand.h"
#include "cli/NameCommand.h"
#include "cli/ReportCommand.h"
#include "fontlist/FontTypes.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::trueTypeFontNamed;

struct Ran {
    int status = -1;
    std::string out;
    std::string err;
};

cli::Request treeRequest(cli::Command command, std::vector<std::string> operands) {
    cli::Request request;
    request.command = command;
    request.operands = std::move(operands);
    request.recursive = true;
    request.pattern = fontlist::typeFilters().back().patterns; // every type
    return request;
}

Ran runHere(const cli::Request& request) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Console console{in, out, err};
    Ran ran;
    switch (request.command) {
    case cli::Command::Name: ran.status = cli::runNameCommand(request, console); break;
    case cli::Command::Report: ran.status = cli::runReportCommand(request, console); break;
    case cli::Command::List: ran.status = cli::runListCommand(request, console); break;
    case cli::Command::Duplicates: ran.status = cli::runDuplicatesCommand(request, console); break;
    default: ran.status = cli::runBatchCommand(cli::BatchRun::Html, request, console); break;
    }
    ran.out = out.str();
    ran.err = err.str();
    return ran;
}

void writeText(int fd, const std::string& text) {
    const std::uint64_t size = text.size();
    EXPECT_EQ(::write(fd, &size, sizeof size), static_cast<ssize_t>(sizeof size));
    EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

std::string readText(int fd) {
    std::uint64_t size = 0;
    if (::read(fd, &size, sizeof size) != static_cast<ssize_t>(sizeof size)) {
        return {};
    }
    std::string text(size, '\0');
    for (std::size_t done = 0; done < size;) {
        const ssize_t got = ::read(fd, text.data() + done, size - done);
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return text;
}

// As a user whom permissions stop: root runs the command in a child as nobody.
Ran runAsUser(const cli::Request& request) {
    if (::geteuid() != 0) {
        return runHere(request);
    }
    int pipeEnds[2];
    EXPECT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(1);
        }
        const Ran ran = runHere(request);
        writeText(pipeEnds[1], std::to_string(ran.status));
        writeText(pipeEnds[1], ran.out);
        writeText(pipeEnds[1], ran.err);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    Ran ran;
    const std::string status = readText(pipeEnds[0]);
    ran.out = readText(pipeEnds[0]);
    ran.err = readText(pipeEnds[0]);
    ::close(pipeEnds[0]);
    int childStatus = 0;
    ::waitpid(child, &childStatus, 0);
    ran.status = status.empty() ? -1 : std::stoi(status);
    return ran;
}

// A tree in mixed case: fonts at the top and in sub-folders, a hidden folder.
void writeTree(const testsupport::TempDir& dir) {
    dir.write("b.ttf", trueTypeFontNamed(u"Beta"));
    dir.write("Sub/a.ttf", trueTypeFontNamed(u"Alpha"));
    dir.write("sub2/Deeper/c.ttf", trueTypeFontNamed(u"Gamma"));
    dir.write("sub2/broken.ttf", "not a font");
    dir.write(".hidden/h.ttf", trueTypeFontNamed(u"Hidden"));
}

TEST(TreeCommands, NameAndReportGoThroughTheTreeInTheWalksOrder) {
    const testsupport::TempDir dir;
    writeTree(dir);
    const std::string top = dir.str();
    const std::string loose = dir.write("loose.ttf", trueTypeFontNamed(u"Loose"));
    const Ran names = runHere(treeRequest(cli::Command::Name, {top, loose}));
    EXPECT_EQ(names.out, "Beta\t" + top + "/b.ttf\n" + "Loose\t" + top + "/loose.ttf\n" +
                             "Alpha\t" + top + "/Sub/a.ttf\n" + "error: Overflow\t" + top +
                             "/sub2/broken.ttf\n" + "Gamma\t" + top + "/sub2/Deeper/c.ttf\n" +
                             "Loose\t" + loose + "\n");
    EXPECT_EQ(names.status, 1); // the broken font
    EXPECT_EQ(names.err, "");

    fs::remove(dir.path() / "sub2" / "broken.ttf");
    fs::remove(dir.path() / "loose.ttf");
    cli::Request request = treeRequest(cli::Command::Report, {top + "/"});
    request.lineFeeds = true;
    const Ran reports = runHere(request);
    std::string expected;
    for (const std::string path : {"b.ttf", "Sub/a.ttf", "sub2/Deeper/c.ttf"}) {
        const std::string report = fontlist::reportOf(top + "/" + path)->text;
        std::string text;
        for (const char c : report) {
            if (c != '\r') {
                text += c;
            }
        }
        if (!text.ends_with('\n')) {
            text += '\n'; // each report ends its last line
        }
        expected += "==> " + top + "/" + path + " <==\n" + text + "\n";
    }
    EXPECT_EQ(reports.out, expected);
    EXPECT_EQ(reports.status, 0);
}

TEST(TreeCommands, HtmlListsTheWholeTreeAndReportsNamesThatCollideAcrossFolders) {
    const testsupport::TempDir dir;
    dir.write("one/a.ttf", trueTypeFontNamed(u"Same Name"));
    dir.write("two/b.ttf", trueTypeFontNamed(u"same name"));
    dir.write("two/deep/broken.ttf", "not a font");
    const std::string top = dir.str();
    const Ran ran = runHere(treeRequest(cli::Command::Html, {top}));
    EXPECT_EQ(ran.status, 0) << ran.err;
    const std::string page = readFile(dir.file("_fonts.html"));
    // A name that gives nothing is keyed by the file's own name, not its way down.
    EXPECT_NE(page.find("<A HREF=\"" + top + "/two/deep/broken.ttf\">?broken</A><BR>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<A HREF=\"" + top + "/one/a.ttf\">Same Name</A><BR>"), std::string::npos);
    const std::string report = readFile(dir.file("_report.txt"));
    EXPECT_NE(report.find(top + "/one/a.ttf"), std::string::npos) << report;
    EXPECT_NE(report.find(top + "/two/b.ttf"), std::string::npos) << report;
}

TEST(TreeCommands, AFolderThatCannotBeReadIsToldAndMakesTheRunIncomplete) {
    struct Case {
        cli::Command command;
        int status;
    };
    for (const Case c :
         {Case{cli::Command::Name, 1}, Case{cli::Command::Report, 1}, Case{cli::Command::List, 1},
          Case{cli::Command::Duplicates, 1}, Case{cli::Command::Html, 3}}) {
        const testsupport::TempDir dir;
        writeTree(dir);
        fs::remove(dir.path() / "sub2" / "broken.ttf");
        fs::permissions(dir.path(), fs::perms::all); // html writes there as whoever runs it
        fs::permissions(dir.path() / "Sub", fs::perms::none);
        const Ran ran = runAsUser(treeRequest(c.command, {dir.str()}));
        EXPECT_EQ(ran.status, c.status) << ran.err;
        EXPECT_EQ(ran.err.rfind("quillvane-cli: cannot read folder '" + dir.file("Sub") +
                                    "': Permission denied\n",
                                0),
                  0u)
            << ran.err;
        if (c.command == cli::Command::Duplicates) {
            continue; // no copies in the tree: nothing to show
        }
        // The rest of the tree is there.
        const std::string written =
            c.command == cli::Command::Html ? readFile(dir.file("_fonts.html")) : ran.out;
        EXPECT_NE(written.find(dir.file("sub2/Deeper/c.ttf")), std::string::npos) << written;
    }
}

TEST(TreeCommands, AFontThatCannotBeReadIsLeftOutOfTheDuplicatesAndTheRunIsIncomplete) {
    const testsupport::TempDir dir;
    const std::string font = trueTypeFontNamed(u"Beta");
    dir.write("a.ttf", font);
    dir.write("sub/b.ttf", font);
    fs::permissions(dir.write("sub/c.ttf", font), fs::perms::none);
    const Ran ran = runAsUser(treeRequest(cli::Command::Duplicates, {dir.str()}));
    EXPECT_EQ(ran.status, 1);
    EXPECT_EQ(ran.err, "quillvane-cli: cannot read '" + dir.file("sub/c.ttf") +
                           "': Permission denied; left out\n");
    EXPECT_EQ(ran.out.find("c.ttf"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find(dir.file("sub/b.ttf")), std::string::npos) << ran.out;
}

TEST(TreeCommands, ALinkLoopIsToldOnceAndLosesNothing) {
    const testsupport::TempDir dir;
    writeTree(dir);
    fs::remove(dir.path() / "sub2" / "broken.ttf");
    fs::create_directory_symlink("..", dir.path() / "Sub" / "loop");
    const clitest::CliResult result = clitest::runCli({"name", "-r", "--follow", dir.str()});
    EXPECT_EQ(result.err, "quillvane-cli: '" + dir.file("Sub/loop") +
                              "' leads back to a folder already walked ('" + dir.str() +
                              "'); not walked again\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3);
    // Without --follow the link is passed over without a word.
    const clitest::CliResult unfollowed = clitest::runCli({"name", "-r", dir.str()});
    EXPECT_EQ(unfollowed.err, "");
    EXPECT_EQ(unfollowed.out, result.out);
}

} // namespace
