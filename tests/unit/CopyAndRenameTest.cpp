#include "fontlist/CopyUnderFullNames.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "support/PfbWriter.h"
#include "support/ScriptedConversation.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using fontlist::Answer;
using fontlist::SpacesOption;
using testsupport::readFile;
using testsupport::ScriptedConversation;
using testsupport::TempDir;
using Events = std::vector<std::string>;
using Names = std::set<std::string>;

const std::string kAlreadyExists = "/Friendly directory already exists. Fonts with the same "
                                   "name\r\nwill be overwitten, except those flagged "
                                   "read-only.OK to proceed?";
// A failure 75 of a step that is no copy, with no cause beyond its description.
const std::string kAccessFailure = "Path/File access error\r\nOK to proceed?";
const std::string kFinishedEvents[] = {"progress: Quillvane", "message: Finished."};

std::string ttf(std::u16string_view fullName) {
    return testsupport::trueTypeFontNamed(fullName);
}

std::string pfb(std::string_view fullName) {
    return testsupport::pfbFont(testsupport::typicalClearText(fullName));
}

// The events of a run that ends normally: the given ones, the ending.
Events finishedRun(Events middle) {
    Events events = std::move(middle);
    events.insert(events.end(), std::begin(kFinishedEvents), std::end(kFinishedEvents));
    return events;
}

Names namesIn(const std::filesystem::path& dir) {
    Names names;
    if (std::filesystem::is_directory(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

struct FileState {
    std::string bytes;
    std::filesystem::file_time_type written;
    bool operator==(const FileState&) const = default;
};

std::map<std::string, FileState> filesIn(const std::filesystem::path& dir) {
    std::map<std::string, FileState> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = {readFile(entry.path().string()),
                                                       entry.last_write_time()};
        }
    }
    return files;
}

// Clicks "Copy/Rename Fonts" and checks that the browsed directory's files are left alone;
// returns how the run says it ended.
fontlist::BatchResult click(ScriptedConversation& host,
                            SpacesOption option = SpacesOption::NoChange) {
    const std::filesystem::path browsed = host.directory();
    const auto before = filesIn(browsed);
    const fontlist::BatchResult outcome = fontlist::copyUnderFullNames(host, host.request(option));
    EXPECT_EQ(filesIn(browsed), before) << "the listed files were changed";
    return outcome;
}

Events textsOf(const ScriptedConversation& host) {
    Events texts;
    for (const fontlist::UserMessage& message : host.messages) {
        texts.push_back(message.text);
    }
    return texts;
}

void makeReadOnly(const std::string& path) {
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0) << path;
}

TEST(CopyAndRename, AnEmptyListIsRefused) {
    TempDir dir;
    dir.write("readme.txt", "no font");
    const std::string gone = dir.write("gone.ttf", ttf(u"Gone"));
    ScriptedConversation host(dir.str());
    std::filesystem::remove(gone); // removed before the run's listing

    const fontlist::BatchResult result =
        fontlist::copyUnderFullNames(host, host.request(SpacesOption::NoChange));
    EXPECT_EQ(result.end, fontlist::RunEnd::Refused);
    EXPECT_FALSE(result.wroteIntoFolder);

    EXPECT_EQ(host.events,
              (Events{"message: Current directory contains no fonts of selected type."}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Font Copy and Renaming");
    EXPECT_EQ(host.messages[0].buttons, fontlist::Buttons::Ok);
    EXPECT_EQ(host.messages[0].icon, fontlist::MessageIcon::None);
    EXPECT_EQ(namesIn(dir.path()), (Names{"readme.txt"}));
}

TEST(CopyAndRename, CopiesEveryFontCountingDownThenFinishes) {
    TempDir dir;
    dir.write("a.ttf", ttf(u"Alpha"));
    dir.write("b.pfb", pfb("Beta"));
    dir.write("b.pfm", "beta metrics");
    dir.write("c.TTF", ttf(u"Gamma"));
    ScriptedConversation host(dir.str());

    EXPECT_TRUE(click(host).wroteIntoFolder);

    EXPECT_EQ(host.events, finishedRun({"progress:  2", "progress:  1", "progress:  0"}));
    const fontlist::UserMessage& finished = host.messages.back();
    EXPECT_EQ(finished.title, "Font Copy and Renaming");
    EXPECT_EQ(finished.buttons, fontlist::Buttons::Ok);
    EXPECT_EQ(finished.icon, fontlist::MessageIcon::None);
    const auto friendly = dir.path() / "friendly";
    EXPECT_EQ(namesIn(friendly), (Names{"Alpha.ttf", "Beta.pfb", "Beta.pfm", "Gamma.ttf"}));
    EXPECT_EQ(readFile((friendly / "Gamma.ttf").string()), readFile(dir.file("c.TTF")));
    EXPECT_EQ(readFile((friendly / "Beta.pfm").string()), "beta metrics");
}

// A stop ends the run after the font in hand, its companions copied and the closing steps
// done; fonts left incomplete so far are told as "Finished." tells them. No stop is asked
// after the last font.
TEST(CopyAndRename, AStopEndsTheRunAfterTheFontInHand) {
    const struct {
        std::size_t stopAfter;
        fontlist::RunEnd end;
        std::string closing;
        Names copied;
    } cases[] = {
        {1, fontlist::RunEnd::Stopped, "Stopped after 1 of 4 fonts.\r\n\r\n", {"Alpha.pfb"}},
        {3,
         fontlist::RunEnd::Stopped,
         "Stopped after 3 of 4 fonts.\r\n\r\n",
         {"Alpha.pfb", "Beta.pfb", "Beta.pfm", "Gamma.ttf"}},
        {4,
         fontlist::RunEnd::Finished,
         "Finished.\r\n\r\n",
         {"Alpha.pfb", "Beta.pfb", "Beta.pfm", "Gamma.ttf", "Delta.ttf"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("a.pfb", pfb("Alpha"));
        dir.write("b.pfb", pfb("Beta"));
        dir.write("b.pfm", "beta metrics");
        dir.write("c.ttf", ttf(u"Gamma"));
        dir.write("d.ttf", ttf(u"Delta"));
        ScriptedConversation host(dir.str());
        host.stopAfter = c.stopAfter;

        const fontlist::BatchResult result = click(host);
        EXPECT_EQ(result.end, c.end) << c.stopAfter;
        EXPECT_TRUE(result.wroteIntoFolder) << c.stopAfter;
        EXPECT_EQ(result.fontsIncomplete, 1u) << c.stopAfter;
        EXPECT_EQ(host.stopChecks, std::min<std::size_t>(c.stopAfter, 3)) << c.stopAfter;
        const std::string closing = textsOf(host).back();
        EXPECT_EQ(closing.substr(0, c.closing.size()), c.closing) << c.stopAfter;
        EXPECT_NE(closing.find("a.pfb"), std::string::npos) << closing; // without its .pfm
        EXPECT_EQ(host.progress.back(), "Quillvane") << c.stopAfter;
        EXPECT_EQ(namesIn(dir.path() / "friendly"), c.copied) << c.stopAfter;
    }
}

TEST(CopyAndRename, ListedFilesOfOtherTypesAreSkippedButCounted) {
    TempDir dir;
    dir.write("a.ttf", ttf(u"Alpha"));
    dir.write("notes.txt", "text");
    ScriptedConversation host(dir.str(), "*.*");

    click(host);

    EXPECT_EQ(host.events, finishedRun({"progress:  1", "progress:  0"}));
    EXPECT_EQ(namesIn(dir.path() / "friendly"), (Names{"Alpha.ttf"}));
}

TEST(CopyAndRename, NamesTheCopiesAfterTheFullNames) {
    const std::string nulName("Nul\0Name", 8);
    const struct {
        std::string file;
        std::string bytes;
        SpacesOption option;
        Names expected; // the copy first; a .pfb gets a .pfm companion
    } cases[] = {
        {"a.ttf", ttf(u"Garamond Bold"), SpacesOption::Remove, {"GaramondBold.ttf"}},
        {"a.ttf",
         ttf(u"  Futura Bk BT 1.0 "),
         SpacesOption::ReplaceWithHyphen,
         {"Futura-Bk-BT-10.ttf"}},
        {"a.ttf", ttf(u" Arial  Bold "), SpacesOption::NoChange, {"Arial  Bold.ttf"}},
        {"SHOUT.TTF", ttf(u"Upper Case"), SpacesOption::NoChange, {"Upper Case.ttf"}},
        // A name that leaves nothing, and an overflowed lookup, name the copy after the file.
        {"a.ttf", ttf(u""), SpacesOption::NoChange, {"a.unnamed.ttf"}},
        {"a.ttf", ttf(u"..?*"), SpacesOption::NoChange, {"a.unnamed.ttf"}},
        {"x y.TTF", ttf(u"   "), SpacesOption::Remove, {"x y.unnamed.ttf"}},
        {"a.ttf", "", SpacesOption::NoChange, {"a.unnamed.ttf"}},
        {"SHOUT.PFB",
         pfb("Courier Bold"),
         SpacesOption::ReplaceWithHyphen,
         {"Courier-Bold.pfb", "Courier-Bold.pfm"}},
        {"a.pfb", pfb(""), SpacesOption::NoChange, {"a.unnamed.pfb", "a.unnamed.pfm"}},
        {"a.pfb",
         "no header",
         SpacesOption::NoChange,
         {"error Invalid procedure call or argument.pfb",
          "error Invalid procedure call or argument.pfm"}},
        // A NUL in the name would cut the path short and put all five files on one name.
        {"a.pfb", pfb(nulName), SpacesOption::NoChange, {"NulName.pfb", "NulName.pfm"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.expected.begin());
        TempDir dir;
        dir.write(c.file, c.bytes);
        const bool type1 = c.file.ends_with(".pfb") || c.file.ends_with(".PFB");
        if (type1) {
            dir.write(c.file.substr(0, c.file.size() - 4) + ".pfm", "metrics");
        }
        ScriptedConversation host(dir.str());

        click(host, c.option);

        const auto friendly = dir.path() / "friendly";
        EXPECT_EQ(namesIn(friendly), c.expected);
        // The font's copy sorts before its ".pfm".
        EXPECT_EQ(readFile((friendly / *c.expected.begin()).string()), c.bytes);
        EXPECT_EQ(host.messages.back().text, "Finished.");
    }
}

// Under the Unicode decoding the copies are named in the fonts' own scripts, the file names
// written as UTF-8 (as UTF-16 on Windows), with the spaces option and the dropped characters
// as ever.
TEST(CopyAndRename, UnicodeNamesNameTheCopiesInTheirOwnScripts) {
    const struct {
        std::u16string_view fullName;
        SpacesOption option;
        std::string expected;
    } cases[] = {
        {u"ゴシック体 太字", SpacesOption::NoChange, "ゴシック体 太字.ttf"},
        {u"Шрифт: Жирный?", SpacesOption::ReplaceWithHyphen, "Шрифт-Жирный.ttf"},
        {u"Emoji 😀 Sans", SpacesOption::Remove, "Emoji😀Sans.ttf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        TempDir dir;
        const std::string bytes = ttf(c.fullName);
        dir.write("a.ttf", bytes);
        ScriptedConversation host(dir.str());

        fontlist::copyUnderFullNames(host,
                                     host.request(c.option, fontcore::NameDecoding::Readable));

        Names copies;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "friendly")) {
            copies.insert(testsupport::utf8FromPath(entry.path().filename()));
        }
        EXPECT_EQ(copies, Names{c.expected});
        EXPECT_EQ(readFile(dir.file("friendly/" + c.expected)), bytes);
        EXPECT_EQ(host.messages.back().text, "Finished.");
    }
}

TEST(CopyAndRename, Type1FontsTakeTheirCompanionsAlong) {
    const struct {
        std::vector<std::string> companions;
        Names expected;
    } cases[] = {
        {{".pfm", ".afm", ".inf", ".mmm"},
         {"Sans.pfb", "Sans.pfm", "Sans.afm", "Sans.inf", "Sans.mmm"}},
        {{".pfm"}, {"Sans.pfb", "Sans.pfm"}},
        {{".pfm", ".mmm"}, {"Sans.pfb", "Sans.pfm", "Sans.mmm"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.size());
        TempDir dir;
        dir.write("s.pfb", pfb("Sans"));
        for (const std::string& extension : c.companions) {
            dir.write("s" + extension, "companion " + extension);
        }
        ScriptedConversation host(dir.str());

        click(host);

        EXPECT_EQ(host.events, finishedRun({"progress:  0"}));
        const auto friendly = dir.path() / "friendly";
        EXPECT_EQ(namesIn(friendly), c.expected);
        for (const std::string& extension : c.companions) {
            EXPECT_EQ(readFile((friendly / ("Sans" + extension)).string()),
                      "companion " + extension);
        }
    }
}

// A .pfb without its .pfm (as Debian installs Type 1 fonts) is copied with the companions it
// has and named once at the end, the first few by name; the run goes on.
TEST(CopyAndRename, FontsWithoutTheirPfmAreCopiedAndNamedOnceAtTheEnd) {
    TempDir dir;
    dir.write("a.ttf", ttf(u"Alpha"));
    for (const char* name : {"b", "c", "d", "e", "f", "g", "h"}) {
        dir.write(std::string(name) + ".pfb", pfb(std::string("Lonely ") + name));
    }
    dir.write("b.afm", "metrics it has");
    dir.write("z.ttf", ttf(u"Zeta"));
    ScriptedConversation host(dir.str());

    const fontlist::BatchOutcome outcome = click(host);

    EXPECT_EQ(outcome.end, fontlist::RunEnd::Finished);
    EXPECT_EQ(outcome.fontsIncomplete, 7u);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Finished.\r\n\r\n7 fonts were copied without their .pfm "
                                     "file: b.pfb, c.pfb, d.pfb, e.pfb, f.pfb and 2 more.");
    const Names copied = namesIn(dir.path() / "friendly");
    EXPECT_EQ(copied.size(), 10u);
    EXPECT_TRUE(copied.contains("Lonely b.afm") && copied.contains("Lonely h.pfb") &&
                copied.contains("Zeta.ttf"));
}

TEST(CopyAndRename, UpperCaseCompanionsAreFoundAndCopiedWithLowerCaseExtensions) {
    TempDir dir;
    dir.write("FOO.PFB", pfb("Foo"));
    dir.write("FOO.PFM", "metrics");
    dir.write("FOO.AFM", "more metrics");
    dir.write("z.ttf", ttf(u"Zeta"));
    ScriptedConversation host(dir.str());

    EXPECT_EQ(click(host).fontsIncomplete, 0u);

    EXPECT_EQ(host.events, finishedRun({"progress:  1", "progress:  0"}));
    const auto friendly = dir.path() / "friendly";
    EXPECT_EQ(namesIn(friendly), (Names{"Foo.pfb", "Foo.pfm", "Foo.afm", "Zeta.ttf"}));
    EXPECT_EQ(readFile((friendly / "Foo.pfm").string()), "metrics");
}

TEST(CopyAndRename, ACompanionThatTwoFilesCouldBeIsMissing) {
#ifdef _WIN32
    GTEST_SKIP() << "names that differ only in case name one file here";
#endif
    TempDir dir;
    dir.write("foo.pfb", pfb("Foo"));
    dir.write("Foo.Pfm", "one");
    dir.write("FOO.PFM", "other");
    ScriptedConversation host(dir.str());

    click(host);

    EXPECT_EQ(host.messages.back().text,
              "Finished.\r\n\r\n1 font was copied without its .pfm file: foo.pfb.");
    EXPECT_EQ(namesIn(dir.path() / "friendly"), (Names{"Foo.pfb"}));
}

TEST(CopyAndRename, ASecondRunAsksFirstAndReplacesOnlyAfterYes) {
    const struct {
        Answer answer;
        Events events;
        bool replaced;
    } cases[] = {
        {Answer::Yes, finishedRun({"message: " + kAlreadyExists, "progress:  1", "progress:  0"}),
         true},
        {Answer::No, {"message: " + kAlreadyExists}, false},
        {Answer::Cancel, {"message: " + kAlreadyExists}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        TempDir dir;
        const std::string alpha = readFile(dir.write("a.ttf", ttf(u"Alpha")));
        dir.write("b.ttf", ttf(u"Beta"));
        {
            ScriptedConversation first(dir.str());
            click(first);
            ASSERT_EQ(first.messages.back().text, "Finished.");
        }
        const std::string copy = dir.file("friendly/Alpha.ttf");
        dir.write("friendly/Alpha.ttf", "stale");
        // The copy that replaces it keeps the mode its owner gave it.
        std::filesystem::permissions(copy, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write);
        std::filesystem::remove(dir.file("friendly/Beta.ttf"));
        ScriptedConversation host(dir.str());
        host.answers = {c.answer};

        click(host);
#ifndef _WIN32 // where files have no permission bits of their own
        EXPECT_EQ(std::filesystem::status(copy).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif

        EXPECT_EQ(host.events, c.events);
        const fontlist::UserMessage& prompt = host.messages.front();
        EXPECT_EQ(prompt.title, "Font Copy and Renaming");
        EXPECT_EQ(prompt.buttons, fontlist::Buttons::YesNoCancel);
        EXPECT_EQ(prompt.icon, fontlist::MessageIcon::None);
        EXPECT_EQ(readFile(copy), c.replaced ? alpha : "stale");
        EXPECT_EQ(namesIn(dir.path() / "friendly"),
                  (c.replaced ? Names{"Alpha.ttf", "Beta.ttf"} : Names{"Alpha.ttf"}));
    }
}

TEST(CopyAndRename, TheLaterOfTwoFontsWithOneNameWins) {
    TempDir dir;
    dir.write("a.ttf", ttf(u"Twin"));
    const std::string later = dir.write(
        "b.ttf", testsupport::trueTypeFont({.records = {
                                                {.nameId = 1, .bytes = testsupport::utf16be(u"x")},
                                                {.bytes = testsupport::utf16be(u"Twin")},
                                            }}));
    ASSERT_NE(readFile(dir.file("a.ttf")), readFile(later));
    dir.write("c.pfb", pfb("Pair"));
    dir.write("c.pfm", "earlier metrics");
    dir.write("d.pfb", pfb("Pair"));
    dir.write("d.pfm", "later metrics");
    ScriptedConversation host(dir.str());

    click(host);

    const auto friendly = dir.path() / "friendly";
    EXPECT_EQ(namesIn(friendly), (Names{"Twin.ttf", "Pair.pfb", "Pair.pfm"}));
    EXPECT_EQ(readFile((friendly / "Twin.ttf").string()), readFile(later));
    EXPECT_EQ(readFile((friendly / "Pair.pfm").string()), "later metrics");
}

// The source that the copy step below cuts short while it is copied.
std::string cutShort;

void cutTheSourceShort(const std::string& source) {
    if (source == cutShort) {
        std::filesystem::resize_file(source, 10);
    }
}

// Two Type 1 fonts on one name leave one font's set, never a mix: the later set replaces the
// earlier one whole (its .afm, which the later lacks, goes), or, when the later font's own
// file is not copied, the earlier set stays whole. A file the run did not make stays.
TEST(CopyAndRename, TheLaterOfTwoType1FontsOnOneNameReplacesTheWholeSetOrNone) {
    const struct {
        const char* what;
        bool laterCutShort;
        Names expected;
        std::string pfm;
    } cases[] = {
        {"the later copied", false, {"Pair.pfb", "Pair.pfm", "Pair.inf"}, "later metrics"},
        {"the later unreadable",
         true,
         {"Pair.pfb", "Pair.pfm", "Pair.afm", "Pair.inf"},
         "earlier metrics"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string earlier = readFile(dir.write("c.pfb", pfb("Pair")));
        dir.write("c.pfm", "earlier metrics");
        dir.write("c.afm", "earlier afm");
        dir.write("d.pfb", pfb("Pair") + "later");
        dir.write("d.pfm", "later metrics");
        dir.write("friendly/Pair.inf", "made before the run");
        cutShort = c.laterCutShort ? dir.file("d.pfb") : std::string();
        platform::fs::setStepBeforeCopyingBytes(cutTheSourceShort);
        ScriptedConversation host(dir.str());
        host.answers = {Answer::Yes};

        const fontlist::BatchOutcome outcome =
            fontlist::copyUnderFullNames(host, host.request(SpacesOption::NoChange));
        platform::fs::setStepBeforeCopyingBytes(nullptr);

        const auto friendly = dir.path() / "friendly";
        EXPECT_EQ(namesIn(friendly), c.expected);
        EXPECT_EQ(readFile((friendly / "Pair.pfm").string()), c.pfm);
        EXPECT_EQ(readFile((friendly / "Pair.inf").string()), "made before the run");
        EXPECT_EQ(outcome.fontsIncomplete, c.laterCutShort ? 1u : 0u);
        if (c.laterCutShort) {
            EXPECT_EQ(readFile((friendly / "Pair.pfb").string()), earlier);
        }
    }
}

// Fonts whose names leave nothing after cleaning keep a copy each, under their files' names.
TEST(CopyAndRename, NamesThatCleanToNothingLoseNoCopy) {
    TempDir dir;
    const std::string dots = readFile(dir.write("a.ttf", ttf(u"...")));
    const std::string marks = readFile(dir.write("b.ttf", ttf(u"???")));
    ScriptedConversation host(dir.str());

    click(host);

    const auto friendly = dir.path() / "friendly";
    EXPECT_EQ(namesIn(friendly), (Names{"a.unnamed.ttf", "b.unnamed.ttf"}));
    EXPECT_EQ(readFile((friendly / "a.unnamed.ttf").string()), dots);
    EXPECT_EQ(readFile((friendly / "b.unnamed.ttf").string()), marks);
}

TEST(CopyAndRename, OnWindowsADeviceNameGetsAnUnderscoreInsteadOfOpeningTheDevice) {
    TempDir dir;
    const std::string con = readFile(dir.write("a.ttf", ttf(u"CON")));
    dir.write("b.pfb", pfb("aux"));
    dir.write("b.pfm", "metrics");
    dir.write("c.ttf", ttf(u"Console"));
    dir.write("d.ttf", ttf(u"nul ?"));
    ScriptedConversation host(dir.str());

    click(host);

    EXPECT_EQ(host.events,
              finishedRun({"progress:  3", "progress:  2", "progress:  1", "progress:  0"}));
#ifdef _WIN32
    const Names expected{"CON_.ttf", "aux_.pfb", "aux_.pfm", "Console.ttf", "nul_ .ttf"};
#else
    const Names expected{"CON.ttf", "aux.pfb", "aux.pfm", "Console.ttf", "nul .ttf"};
#endif
    const auto friendly = dir.path() / "friendly";
    EXPECT_EQ(namesIn(friendly), expected);
    EXPECT_EQ(readFile((friendly / *expected.begin()).string()), con);
}

// The question for a copy that a read-only file in the destination refuses names both files
// and the cause; "<locked>" stands for it in the events below.
std::string lockedCopyText(const TempDir& dir, const std::string& source,
                           const std::string& locked) {
    return "Could not copy " + dir.file(source) + " to " + dir.file("friendly/" + locked) +
           ":\r\na read-only file of that name is in the way\r\nOK to proceed?";
}

TEST(CopyAndRename, AReadOnlyTargetAsksAndYesGoesOnWithTheNextStep) {
    const std::string incomplete = "message: Finished.\r\n\r\n1 font was left incomplete (not "
                                   "copied, or copied without a companion file); the messages "
                                   "before this one say why.";
    const auto endingIncomplete = [&](Events middle) {
        Events events = finishedRun(std::move(middle));
        events.back() = incomplete;
        return events;
    };
    const struct {
        std::vector<std::pair<std::string, std::string>> files;
        std::string locked;
        std::string lockedSource;
        std::deque<Answer> answers;
        Events events;
        Names expected;
        std::size_t incomplete; // the directory's question is no skipped copy
        fontlist::RunEnd end = fontlist::RunEnd::Finished;
    } cases[] = {
        // A TrueType file's next step is its title.
        {{{"a.ttf", ttf(u"Locked")}, {"b.ttf", ttf(u"Free")}},
         "Locked.ttf",
         "a.ttf",
         {Answer::Yes, Answer::Yes},
         endingIncomplete(
             {"message: " + kAlreadyExists, "message: <locked>", "progress:  1", "progress:  0"}),
         {"Locked.ttf", "Free.ttf"},
         1},
        // A .pfb file's next step is its .pfm copy; a locked .pfm leaves the font incomplete.
        {{{"a.pfb", pfb("Locked")}, {"a.pfm", "metrics"}},
         "Locked.pfb",
         "a.pfb",
         {Answer::Yes, Answer::Yes},
         endingIncomplete({"message: " + kAlreadyExists, "message: <locked>", "progress:  0"}),
         {"Locked.pfb", "Locked.pfm"},
         1},
        {{{"a.pfb", pfb("Locked")}, {"a.pfm", "metrics"}},
         "Locked.pfm",
         "a.pfm",
         {Answer::Yes, Answer::Yes},
         endingIncomplete({"message: " + kAlreadyExists, "message: <locked>", "progress:  0"}),
         {"Locked.pfb", "Locked.pfm"},
         1},
        {{{"a.ttf", ttf(u"Locked")}, {"b.ttf", ttf(u"Free")}},
         "Locked.ttf",
         "a.ttf",
         {Answer::Yes, Answer::No},
         {"message: " + kAlreadyExists, "message: <locked>"},
         {"Locked.ttf"},
         0, // No ends the run: nothing was passed over
         fontlist::RunEnd::Declined},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.front().first + " " + std::to_string(c.answers.size()));
        TempDir dir;
        for (const auto& [name, bytes] : c.files) {
            dir.write(name, bytes);
        }
        const std::string locked = dir.write("friendly/" + c.locked, "old");
        makeReadOnly(locked);
        ScriptedConversation host(dir.str());
        host.answers = c.answers;

        const fontlist::BatchOutcome outcome = click(host);
        EXPECT_EQ(outcome.fontsIncomplete, c.incomplete);
        EXPECT_EQ(outcome.end, c.end);

        Events events = c.events;
        for (std::string& event : events) {
            if (event == "message: <locked>") {
                event = "message: " + lockedCopyText(dir, c.lockedSource, c.locked);
            }
        }
        EXPECT_EQ(host.events, events);
        EXPECT_EQ(readFile(locked), "old");
        EXPECT_EQ(namesIn(dir.path() / "friendly"), c.expected);
    }
}

TEST(CopyAndRename, InTheFontDirectoryTheCopiesGoToTheWindowsDirectoryAfterYes) {
    const std::string prompt = "Action in the Windows Font directory is restricted.\r\n"
                               "Instead, the renamed fonts will be placed in:\r\n";
    const struct {
        bool below; // browsing a directory below the font directory
        Answer answer;
        bool throughLink = false; // browsing it through a symbolic link from elsewhere
    } cases[] = {
        {false, Answer::Yes},   {true, Answer::Yes},       {false, Answer::No},
        {true, Answer::Cancel}, {true, Answer::Yes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.below) + " " + std::to_string(static_cast<int>(c.answer)));
#ifdef _WIN32
        if (c.throughLink) {
            continue; // symbolic links are POSIX fixtures
        }
#endif
        TempDir windows;
        TempDir fonts;
        TempDir elsewhere;
        auto browsed = c.below ? fonts.path() / "sub" : fonts.path();
        const std::string font = ttf(u"Alpha");
        fonts.write(c.below ? "sub/a.ttf" : "a.ttf", font);
        if (c.throughLink) {
            std::filesystem::create_directory_symlink(browsed, elsewhere.path() / "link");
            browsed = elsewhere.path() / "link";
        }
        ScriptedConversation host(browsed.string());
        host.folders.root = windows.str();
        host.folders.fonts = fonts.str() + platform::path::separator;
        for (char& ch : host.folders.fonts) {
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        }
        host.answers = {c.answer};

        const bool wrote = click(host).wroteIntoFolder;

        const std::string text = prompt + platform::path::join(windows.str(), "ft1fonts") +
                                 platform::path::separator + "\r\nDo you wish to proceed?";
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.front().text, text);
        EXPECT_EQ(host.messages.front().buttons, fontlist::Buttons::YesNoCancel);
        EXPECT_EQ(host.messages.front().icon, fontlist::MessageIcon::Warning);
        EXPECT_EQ(namesIn(browsed), (Names{"a.ttf"}));
        if (c.answer == Answer::Yes) {
            EXPECT_EQ(host.events, finishedRun({"message: " + text, "progress:  0"}));
            EXPECT_TRUE(wrote);
            EXPECT_EQ(namesIn(windows.path()), (Names{"ft1fonts"}));
            EXPECT_EQ(readFile((windows.path() / "ft1fonts" / "Alpha.ttf").string()), font);
        } else {
            EXPECT_EQ(host.events, (Events{"message: " + text}));
            EXPECT_FALSE(wrote);
            EXPECT_EQ(namesIn(windows.path()), Names{});
        }
    }
}

// A host whose title change fails once, at " 1".
class FailingProgressHost : public ScriptedConversation {
public:
    FailingProgressHost(std::string directory, std::function<void()> fail)
        : ScriptedConversation(std::move(directory)), fail_(std::move(fail)) {}
    void showProgress(const std::string& text) override {
        ScriptedConversation::showProgress(text);
        if (text == " 1") {
            fail_();
        }
    }

private:
    std::function<void()> fail_;
};

TEST(CopyAndRename, FailuresOfTheHostFollowTheSameRule) {
    const struct {
        std::function<void()> fail;
        Events events;
        Names expected;
    } cases[] = {
        // Only a destination that is there already is told as such.
        {[] { throw platform::Failure(platform::FailureNumber::PathFileAccess); },
         finishedRun({"progress:  1", "message: " + kAccessFailure, "progress:  0"}),
         {"Alpha.ttf", "Beta.ttf"}},
        {[] { throw std::runtime_error("unexpected"); },
         {"progress:  1", "message: Error  51"},
         {"Alpha.ttf"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.events.back());
        TempDir dir;
        dir.write("a.ttf", ttf(u"Alpha"));
        dir.write("b.ttf", ttf(u"Beta"));
        FailingProgressHost host(dir.str(), c.fail);
        host.answers = {Answer::Yes};

        EXPECT_NO_THROW(click(host));

        EXPECT_EQ(host.events, c.events);
        EXPECT_EQ(namesIn(dir.path() / "friendly"), c.expected);
    }
}

// A conversation whose font-directory question fails once with 75.
class FailingQuestionHost : public ScriptedConversation {
public:
    using ScriptedConversation::ScriptedConversation;
    fontlist::Answer show(const fontlist::UserMessage& message) override {
        if (message.icon == fontlist::MessageIcon::Warning && !failed_) {
            failed_ = true;
            throw platform::Failure(platform::FailureNumber::PathFileAccess);
        }
        return ScriptedConversation::show(message);
    }

private:
    bool failed_ = false;
};

TEST(CopyAndRename, YesAfterAFailedOpeningStepGoesOnWithTheNextStep) {
    TempDir dir;
    dir.write("a.ttf", ttf(u"Alpha"));
    FailingQuestionHost host(dir.str());
    host.answers = {Answer::Yes};
    host.folders.fonts = dir.str() + platform::path::separator;

    // A step passed over is no font left uncopied; the destination stays the browsed
    // directory's "friendly".
    const fontlist::BatchOutcome outcome = click(host);
    EXPECT_EQ(outcome.fontsIncomplete, 0u);
    EXPECT_EQ(outcome.end, fontlist::RunEnd::Finished);

    EXPECT_EQ(host.events, finishedRun({"message: " + kAccessFailure, "progress:  0"}));
    EXPECT_EQ(namesIn(dir.path() / "friendly"), (Names{"Alpha.ttf"}));
}

// A "friendly" that leads back to the browsed directory, by whatever link, is refused before
// anything is copied: a companion's copy there would replace a file of the user's.
TEST(CopyAndRename, AFriendlyThatLeadsBackToTheFontsIsRefusedBeforeAnyCopy) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links are POSIX fixtures";
#endif
    for (const bool absolute : {false, true}) {
        SCOPED_TRACE(absolute);
        TempDir dir;
        dir.write("a.pfb", pfb("Foo"));
        dir.write("a.pfm", "metrics");
        dir.write("a.afm", "the font's afm");
        dir.write("Foo.afm", "the user's own afm");
        std::filesystem::create_directory_symlink(absolute ? dir.path() : ".",
                                                  dir.path() / "friendly");
        ScriptedConversation host(dir.str());
        host.answers = {Answer::Yes}; // "friendly" is there already

        const fontlist::BatchOutcome outcome = click(host);

        EXPECT_EQ(outcome.end, fontlist::RunEnd::Refused);
        EXPECT_EQ(textsOf(host),
                  (Events{kAlreadyExists, "The copies would go to " + dir.file("friendly") +
                                              ", which is the fonts' own folder " + dir.str() +
                                              "/.\r\nCopies there could replace files of "
                                              "yours, so nothing was copied."}));
        EXPECT_EQ(namesIn(dir.path()), (Names{"a.pfb", "a.pfm", "a.afm", "Foo.afm", "friendly"}));
    }
}

// A new name that is one of the run's sources (here through a hard link in "friendly") is
// skipped with a message that names it and counted; the source is never replaced.
TEST(CopyAndRename, NoCopyLandsOnAFileOfTheRunWhateverLinkLeadsThere) {
#ifdef _WIN32
    GTEST_SKIP() << "hard links are POSIX fixtures";
#endif
    TempDir dir;
    dir.write("a.ttf", ttf(u"Zed"));
    const std::string precious = ttf(u"Precious Original");
    const std::string original = dir.write("z.ttf", precious);
    std::filesystem::create_directory(dir.path() / "friendly");
    std::filesystem::create_hard_link(original, dir.path() / "friendly" / "Zed.ttf");
    ScriptedConversation host(dir.str());
    host.answers = {Answer::Yes}; // "friendly" is there already

    const fontlist::BatchOutcome outcome =
        fontlist::copyUnderFullNames(host, host.request(SpacesOption::NoChange));

    EXPECT_EQ(outcome.end, fontlist::RunEnd::Finished);
    EXPECT_EQ(outcome.fontsIncomplete, 1u);
    EXPECT_EQ(readFile(original), precious);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_TRUE(host.messages[1].text.starts_with("Not copied: " + dir.file("a.ttf") + "\r\n"))
        << host.messages[1].text;
    EXPECT_EQ(host.messages[1].buttons, fontlist::Buttons::Ok);
    EXPECT_TRUE(host.messages[2].text.starts_with("Finished.\r\n\r\n1 font was left incomplete"));
}

// Between the first copy and the next, moves "friendly" away and puts a link to another
// folder in its place.
class SwappingHost : public ScriptedConversation {
public:
    SwappingHost(const TempDir& dir, std::filesystem::path elsewhere)
        : ScriptedConversation(dir.str()), friendly_(dir.path() / "friendly"),
          elsewhere_(std::move(elsewhere)) {}
    void showProgress(const std::string& text) override {
        ScriptedConversation::showProgress(text);
        if (!swapped_) {
            swapped_ = true;
            std::filesystem::rename(friendly_, friendly_.string() + "-away");
            std::filesystem::create_directory_symlink(elsewhere_, friendly_);
        }
    }

private:
    std::filesystem::path friendly_;
    std::filesystem::path elsewhere_;
    bool swapped_ = false;
};

// The destination is held from its creation: a swap during the run sends no copy elsewhere,
// and the run says so instead of "Finished.".
TEST(CopyAndRename, AFriendlySwappedDuringTheRunGetsNoCopyElsewhere) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links are POSIX fixtures";
#endif
    TempDir dir;
    TempDir elsewhere;
    dir.write("a.ttf", ttf(u"Alpha"));
    const std::string beta = readFile(dir.write("b.ttf", ttf(u"Beta")));
    elsewhere.write("Beta.ttf", "someone else's");
    SwappingHost host(dir, elsewhere.path());

    const fontlist::BatchOutcome outcome = click(host);

    EXPECT_EQ(outcome.end, fontlist::RunEnd::Failed);
    EXPECT_EQ(textsOf(host), (Events{"Error  76\r\nThe copies went to " + dir.file("friendly/") +
                                     ":\r\nit was moved or replaced by another folder during "
                                     "the run; the copies are in the folder that was there "
                                     "when the run began"}));
    EXPECT_EQ(namesIn(elsewhere.path()), (Names{"Beta.ttf"}));
    EXPECT_EQ(readFile(elsewhere.file("Beta.ttf")), "someone else's");
    EXPECT_EQ(readFile(dir.file("friendly-away/Beta.ttf")), beta);
}

TEST(CopyAndRename, AFriendlyLinkIntoTheFontDirectoryIsTheFontDirectoryCase) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links are POSIX fixtures";
#endif
    TempDir windows;
    TempDir fonts;
    TempDir browsed;
    browsed.write("a.ttf", ttf(u"Alpha"));
    std::filesystem::create_directory_symlink(fonts.path(), browsed.path() / "friendly");
    ScriptedConversation host(browsed.str());
    host.folders.root = windows.str();
    host.folders.fonts = fonts.str() + platform::path::separator;
    host.answers = {Answer::No};

    click(host);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.starts_with("Action in the Windows Font directory"));
    EXPECT_EQ(namesIn(fonts.path()), Names{});
}

// Copies that fail for a reason other than the destination being there say which file failed
// and why; a companion's failure leaves its font incomplete and the run goes on.
TEST(CopyAndRename, EveryFailedCopyIsToldWithItsFileAndCauseAndCounted) {
    const std::string longName(300, 'x');
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        std::string readOnlyCopy; // in "friendly", made before the run
        std::string source;       // the file the message names, and its copy's name
        std::string target;
        std::string cause;
        fontlist::Buttons buttons;
    } cases[] = {
        {"a companion that may be missing",
         {{"s.pfb", pfb("Sans")}, {"s.pfm", "metrics"}, {"s.afm", "afm"}},
         "Sans.afm",
         "s.afm",
         "Sans.afm",
         "a read-only file of that name is in the way",
         fontlist::Buttons::Ok},
        {"a name too long for a file name",
         {{"a.ttf", ttf(std::u16string(longName.begin(), longName.end()))}},
         "",
         "a.ttf",
         longName + ".ttf",
         "File name too long\r\nOK to proceed?",
         fontlist::Buttons::YesNoCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
#ifdef _WIN32
        if (c.readOnlyCopy.empty()) {
            continue; // the system's words for it are POSIX's here
        }
#endif
        TempDir dir;
        for (const auto& [name, bytes] : c.files) {
            dir.write(name, bytes);
        }
        std::filesystem::create_directory(dir.path() / "friendly");
        if (!c.readOnlyCopy.empty()) {
            makeReadOnly(dir.write("friendly/" + c.readOnlyCopy, "old"));
        }
        ScriptedConversation host(dir.str());
        host.answers = {Answer::Yes, Answer::Yes};

        const fontlist::BatchOutcome outcome = click(host);

        ASSERT_EQ(host.messages.size(), 3u);
        EXPECT_EQ(host.messages[1].text, "Could not copy " + dir.file(c.source) + " to " +
                                             dir.file("friendly/" + c.target) + ":\r\n" + c.cause);
        EXPECT_EQ(host.messages[1].buttons, c.buttons);
        EXPECT_EQ(outcome.end, fontlist::RunEnd::Finished);
        EXPECT_EQ(outcome.fontsIncomplete, 1u);
        EXPECT_TRUE(host.messages[2].text.starts_with("Finished.\r\n\r\n1 font was"));
    }
}

} // namespace
