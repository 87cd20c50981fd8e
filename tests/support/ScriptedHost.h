#pragma once

#include "fontlist/BatchHost.h"
#include "platform/DirectoryListing.h"

#include <deque>
#include <string>
#include <vector>

namespace testsupport {

// A batch host over a real directory, as the window's file list would show it, answering
// questions from a script (Cancel once it runs out; OK boxes answer Ok). It records every
// message, every progress text and every refresh, in order, in `events`.
class ScriptedHost : public fontlist::BatchHost {
public:
    ScriptedHost(std::string directory, std::string pattern = "*.ttf;*.pfb")
        : directory_(std::move(directory)), pattern_(std::move(pattern)) {
        refreshFileList();
        events.clear();
    }

    std::string fileListDirectory() override { return directory_; }
    int fileListCount() override { return static_cast<int>(entries_.size()); }
    std::string fileListEntry(int index) override {
        return entries_.at(static_cast<std::size_t>(index));
    }
    void refreshFileList() override {
        entries_ = platform::listMatchingFiles(directory_, pattern_);
        events.push_back("refresh files");
    }
    void refreshDirectoryList() override { events.push_back("refresh directories"); }

    fontlist::Answer show(const fontlist::UserMessage& message) override {
        messages.push_back(message);
        events.push_back("message: " + message.text);
        if (message.buttons == fontlist::Buttons::Ok) {
            return fontlist::Answer::Ok;
        }
        if (answers.empty()) {
            return fontlist::Answer::Cancel;
        }
        const fontlist::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void showProgress(const std::string& text) override {
        progress.push_back(text);
        events.push_back("progress: " + text);
    }

    void disableBatchButtons() override {
        buttonsDisabled = true;
        events.push_back("disable buttons");
    }

    std::deque<fontlist::Answer> answers;
    std::vector<fontlist::UserMessage> messages;
    std::vector<std::string> progress;
    std::vector<std::string> events;
    bool buttonsDisabled = false;

private:
    std::string directory_;
    std::string pattern_;
    std::vector<std::string> entries_;
};

} // namespace testsupport
