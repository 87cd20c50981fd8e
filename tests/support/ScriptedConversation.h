#pragma once

#include "fontlist/BatchRequest.h"
#include "fontlist/Conversation.h"
#include "platform/DirectoryListing.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace testsupport {

// A batch run's conversation answering questions from a script (Cancel once it runs out; OK
// boxes answer Ok). It records every message and every progress text, in order, in `events`.
// It also gives the request of a run over a real directory, listed as the window's file list
// lists it at the moment it is asked for, with the system folders in `folders` (none by
// default).
class ScriptedConversation : public fontlist::Conversation {
public:
    explicit ScriptedConversation(std::string directory, std::string pattern = "*.ttf;*.pfb")
        : directory_(std::move(directory)), pattern_(std::move(pattern)) {}

    const std::string& directory() const { return directory_; }

    fontlist::BatchRequest
    request(fontlist::SpacesOption spaces = fontlist::SpacesOption::NoChange,
            fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise) {
        fontlist::BatchRequest request;
        request.listing.directory = directory_;
        request.listing.names = platform::listMatchingFileNames(directory_, pattern_);
        request.folders = folders;
        request.spaces = spaces;
        request.decoding = decoding;
        afterListing(request);
        return request;
    }

    // What a test does once the directory is listed (before the run starts).
    virtual void afterListing(fontlist::BatchRequest& /*request*/) {}

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

    // Asks to stop once, after the stopAfter-th listed file (never when 0); counts the checks.
    bool stopAsked() override {
        ++stopChecks;
        return stopAfter != 0 && stopChecks == stopAfter;
    }

    fontlist::FontFolders folders;
    std::size_t stopAfter = 0;
    std::size_t stopChecks = 0;
    std::deque<fontlist::Answer> answers;
    std::vector<fontlist::UserMessage> messages;
    std::vector<std::string> progress;
    std::vector<std::string> events;

private:
    std::string directory_;
    std::string pattern_;
};

} // namespace testsupport
