#include "cli/RunOutcome.h"

#include "fontlist/RunMessages.h"

namespace cli {

ExitStatus exitStatusOf(const fontlist::BatchOutcome& outcome) {
    if (outcome.end != fontlist::RunEnd::Finished) {
        return kNotFinished;
    }
    return outcome.fontsNotCopied > 0 ? kNotAllCopied : kSuccess;
}

fontlist::RunEnd copyRunEndFromLastMessage(const std::optional<runtime::UserMessage>& lastMessage) {
    if (!lastMessage) {
        return fontlist::RunEnd::Failed;
    }
    if (lastMessage->buttons != runtime::Buttons::Ok) {
        return fontlist::RunEnd::Declined;
    }
    const bool finished = lastMessage->icon == runtime::MessageIcon::None &&
                          lastMessage->title == fontlist::kCopyRunTitle &&
                          lastMessage->text == fontlist::kCopyFinishedText;
    return finished ? fontlist::RunEnd::Finished : fontlist::RunEnd::Failed;
}

} // namespace cli
