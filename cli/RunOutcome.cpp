#include "cli/RunOutcome.h"

#include "fontlist/RunMessages.h"

#include <string_view>

namespace cli {

bool endedNormally(BatchRun run, const std::optional<runtime::UserMessage>& lastMessage) {
    if (!lastMessage || lastMessage->buttons != runtime::Buttons::Ok ||
        lastMessage->icon != runtime::MessageIcon::None) {
        return false;
    }
    switch (run) {
    case BatchRun::Copy:
        return lastMessage->title == fontlist::kCopyRunTitle &&
               lastMessage->text == fontlist::kCopyFinishedText;
    case BatchRun::Html:
        return lastMessage->title == fontlist::kHtmlRunTitle &&
               lastMessage->text.starts_with(fontlist::kHtmlCreatedText);
    }
    return false;
}

} // namespace cli
