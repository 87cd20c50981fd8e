#include "cli/RunOutcome.h"

#include <string_view>

namespace cli {

namespace {

// The closing messages of the two runs, as the runs write them.
constexpr std::string_view kCopyTitle = "Font Copy and Renaming";
constexpr std::string_view kCopyFinished = "Finished.";
constexpr std::string_view kHtmlTitle = "Create HTML File With Friendly Font Names";
constexpr std::string_view kHtmlCreated = "Created ";

} // namespace

bool endedNormally(BatchRun run, const std::optional<runtime::UserMessage>& lastMessage) {
    if (!lastMessage || lastMessage->buttons != runtime::Buttons::Ok ||
        lastMessage->icon != runtime::MessageIcon::None) {
        return false;
    }
    switch (run) {
    case BatchRun::Copy:
        return lastMessage->title == kCopyTitle && lastMessage->text == kCopyFinished;
    case BatchRun::Html:
        return lastMessage->title == kHtmlTitle && lastMessage->text.starts_with(kHtmlCreated);
    }
    return false;
}

} // namespace cli
