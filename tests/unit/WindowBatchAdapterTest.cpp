#include "fontlist/WindowBatchAdapter.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/DirectoryListing.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using Events = std::vector<std::string>;

// The window as its adapter sees it: a file list over a real directory, recording what the
// adapter asks of it besides the run's messages.
class RecordingWindow : public fontlist::BatchHost {
public:
    explicit RecordingWindow(std::string directory) : directory_(std::move(directory)) {}

    std::string fileListDirectory() override { return directory_; }
    int fileListCount() override { return static_cast<int>(entries_.size()); }
    std::string fileListEntry(int index) override {
        return entries_.at(static_cast<std::size_t>(index));
    }
    void refreshFileList() override {
        entries_ = platform::listMatchingFiles(directory_, "*.ttf");
        events.push_back("refresh files");
    }
    void refreshDirectoryList() override { events.push_back("refresh directories"); }
    fontlist::Answer show(const fontlist::UserMessage& message) override {
        events.push_back("message: " + message.text);
        return fontlist::Answer::Ok;
    }
    void showProgress(const std::string&) override {}
    void disableBatchButtons() override { events.push_back("disable buttons"); }

    Events events;

private:
    std::string directory_;
    std::vector<std::string> entries_;
};

// The window reads its lists again after copies are made, and disables its buttons after an
// empty list; the HTML list leaves its rows in the window's state.
TEST(WindowBatchAdapter, TheWindowDisablesItsButtonsAndReadsItsListsAgain) {
    testsupport::TempDir empty;
    RecordingWindow emptyWindow(empty.str());
    fontlist::BatchState state;
    fontlist::RenameFonts_Click(emptyWindow, state, fontlist::SpacesOption::NoChange);
    EXPECT_EQ(
        emptyWindow.events,
        (Events{"refresh files", "message: Current directory contains no fonts of selected type.",
                "disable buttons"}));

    testsupport::TempDir dir;
    dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    RecordingWindow window(dir.str());
    EXPECT_EQ(fontlist::RenameFonts_Click(window, state, fontlist::SpacesOption::NoChange).end,
              fontlist::RunEnd::Finished);
    EXPECT_EQ(window.events, (Events{"refresh files", "message: Finished.", "refresh directories",
                                     "refresh files"}));

    fontlist::CreateHTMLFontList_Click(window, state, fontlist::SpacesOption::NoChange);
    EXPECT_EQ(state.FontNames.strings(), (Events{"Alpha", ""}));
    EXPECT_EQ(state.FontFiles.strings(), (Events{"a.ttf", ""}));
}

} // namespace
