#include "fontlist/CopyMessages.h"

#include <utility>

#include "text/Text.h"

namespace fontlist::copymessages {

namespace {

constexpr std::string_view kTitle = "Font Copy and Renaming";
using text::kCrLf;

} // namespace

fontlist::UserMessage message(std::string text, fontlist::Buttons buttons,
                              fontlist::MessageIcon icon) {
    return fontlist::UserMessage{std::string(kTitle), std::move(text), buttons, icon};
}

std::string alreadyExistsText() {
    std::string text = "/Friendly directory already exists. Fonts with the same name";
    text += kCrLf;
    text += "will be overwitten, except those flagged read-only.OK to proceed?";
    return text;
}

std::string fontDirectoryText(const std::string& redirected) {
    std::string text = "Action in the Windows Font directory is restricted.";
    text += kCrLf;
    text += "Instead, the renamed fonts will be placed in:";
    text += kCrLf;
    text += redirected;
    text += kCrLf;
    text += "Do you wish to proceed?";
    return text;
}

std::string accessFailureText(const std::string& doing, const platform::Failure& failure) {
    std::string text = doing.empty() ? std::string() : doing + ":" + std::string(kCrLf);
    text += failure.cause();
    text += kCrLf;
    text += "OK to proceed?";
    return text;
}

std::string copyingText(const std::string& source, const std::string& target) {
    return "Could not copy " + source + " to " + target;
}

std::string guardedText(const std::string& source, const std::string& target) {
    std::string text = "Not copied: " + source;
    text += kCrLf;
    text += "Its new name " + target +
            " is one of the files this run copies from, which are never replaced.";
    return text;
}

std::string companionFailureText(const std::string& source, const std::string& target,
                                 const platform::Failure& failure) {
    std::string text = copyingText(source, target);
    text += ":";
    text += kCrLf;
    text += failure.cause();
    return text;
}

std::string sourceFolderText(const std::string& destination, const std::string& source) {
    std::string text = "The copies would go to " + destination +
                       ", which is the fonts' own "
                       "folder " +
                       source + ".";
    text += kCrLf;
    text += "Copies there could replace files of yours, so nothing was copied.";
    return text;
}

namespace {

// The closing message's first line, then what was left incomplete.
std::string closingText(std::string text, const std::string& shortfalls, std::size_t incomplete) {
    text += shortfalls;
    if (incomplete > 0) {
        text::appendParagraph(text, text::counted(incomplete, "font was", "fonts were") +
                                        " left incomplete (not copied, or copied without a "
                                        "companion file); the messages before this one say why.");
    }
    return text;
}

} // namespace

std::string finishedText(const std::string& shortfalls, std::size_t incomplete) {
    return closingText("Finished.", shortfalls, incomplete);
}

std::string stoppedText(std::size_t filesDone, std::size_t listed, const std::string& shortfalls,
                        std::size_t toldBefore) {
    return closingText("Stopped after " + text::groupedNumber(filesDone) + " of " +
                           text::groupedNumber(listed) + " fonts.",
                       shortfalls, toldBefore);
}

void reportFailure(Conversation& conversation, const platform::Failure& failure,
                   const std::string& doing) noexcept {
    try {
        // The number first, as users know it; then the file and the cause, where there is
        // more to say than the number's description.
        std::string text = "Error " + text::numberText(failure.number());
        const std::string cause = failure.cause();
        if (!doing.empty()) {
            text += kCrLf;
            text += doing + ":";
        }
        if (!doing.empty() || cause != failure.description()) {
            text += kCrLf;
            text += cause;
        }
        conversation.show(message(std::move(text)));
    } catch (...) {
        try {
            conversation.show(message("Error " + text::numberText(failure.number())));
        } catch (...) {
        }
    }
}

} // namespace fontlist::copymessages
