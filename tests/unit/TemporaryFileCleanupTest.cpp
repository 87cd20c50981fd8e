// Temporary files never outlive their run: a signal takes them along, and what a killed run
// left is removed by the next run in that folder.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"
#include "platform/DirectoryListing.h"
#include "platform/TemporaryFile.h"
#include "platform/TemporaryFileCleanup.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

// A child process that is writing a temporary file in dir when it is sent the signal; the
// path of that file, and how the child ended.
struct Ended {
    std::string temporary;
    int status = 0;
};

Ended killWhileWriting(const TempDir& dir, int signal) {
    std::array<int, 2> channel{};
    EXPECT_EQ(::pipe(channel.data()), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        platform::removeTemporaryFilesOnSignals();
        platform::TemporaryFile file(dir.file("_fonts.html"));
        const std::string line = file.path() + "\n";
        if (::write(channel[1], line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            ::_exit(2);
        }
        for (;;) {
            ::pause();
        }
    }
    ::close(channel[1]);
    Ended ended;
    char c = 0;
    while (::read(channel[0], &c, 1) == 1 && c != '\n') {
        ended.temporary += c;
    }
    ::close(channel[0]);
    EXPECT_TRUE(fs::exists(ended.temporary)) << ended.temporary;
    ::kill(child, signal);
    ::waitpid(child, &ended.status, 0);
    return ended;
}

TEST(TemporaryFiles, AnEndingSignalRemovesThemAndStillEndsTheProcess) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        const Ended ended = killWhileWriting(dir, signal);
        ASSERT_TRUE(WIFSIGNALED(ended.status));
        EXPECT_EQ(WTERMSIG(ended.status), signal);
        EXPECT_FALSE(fs::exists(ended.temporary));
    }
}

// SIGKILL leaves the file; the next run in that folder, the page's or the copies', removes it,
// but never one of a process that still runs nor a file of another name.
TEST(TemporaryFiles, WhatAKilledRunLeftIsRemovedByTheNextRunThere) {
    TempDir dir;
    dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    fs::create_directory(dir.file("friendly"));
    const std::string inBrowsed = killWhileWriting(dir, SIGKILL).temporary;
    const std::string live = dir.write(".quillvane-" + std::to_string(::getppid()) + "-0.tmp", "");
    const std::string other = dir.write(".quillvane-notes.tmp", "mine");
    const Ended inFriendly = killWhileWriting(dir, SIGKILL); // moved into "friendly"
    const std::string debris =
        dir.file("friendly/" + fs::path(inFriendly.temporary).filename().string());
    fs::rename(inFriendly.temporary, debris);
    ASSERT_TRUE(fs::exists(inBrowsed));

    testsupport::ScriptedHost html(dir.str());
    fontlist::BatchState state;
    EXPECT_EQ(fontlist::CreateHTMLFontList_Click(html, state, fontlist::SpacesOption::NoChange).end,
              fontlist::RunEnd::Finished);
    testsupport::ScriptedHost copy(dir.str());
    copy.answers = {fontlist::Answer::Yes};
    EXPECT_EQ(fontlist::RenameFonts_Click(copy, state, fontlist::SpacesOption::NoChange).end,
              fontlist::RunEnd::Finished);

    EXPECT_FALSE(fs::exists(inBrowsed));
    EXPECT_FALSE(fs::exists(debris));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(other));
}

// The sweep that follows a listing takes the temporary files the listing saw, but only while
// the folder is as the listing found it: one a run left after the listing goes as well.
TEST(TemporaryFiles, OneLeftAfterTheListingIsRemovedToo) {
    TempDir dir;
    dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    // The folder's times set far back, so that the file made below changes them even where
    // the system keeps times to the tick of its clock alone.
    const timespec longAgo[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.str().c_str(), longAgo, 0), 0);
    ASSERT_EQ(platform::listMatchingFiles(dir.str(), "*.ttf").size(), 1u);
    const std::string left = killWhileWriting(dir, SIGKILL).temporary;
    platform::removeStaleTemporaryFiles(dir.str());
    EXPECT_FALSE(fs::exists(left));
}

} // namespace
