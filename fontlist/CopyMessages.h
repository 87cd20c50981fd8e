#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fontlist/Conversation.h"
#include "fontlist/UserMessage.h"
#include "platform/Failure.h"

// The messages of the copy run, all under its title.
namespace fontlist::copymessages {

fontlist::UserMessage message(std::string text, fontlist::Buttons buttons = fontlist::Buttons::Ok,
                              fontlist::MessageIcon icon = fontlist::MessageIcon::None);

// The question when the destination is there already.
std::string alreadyExistsText();

// The warning when the copies would land in the system font directory.
std::string fontDirectoryText(const std::string& redirected);

// The question after a failure 75 that is not the destination being there already: what the
// step was doing, the cause in the system's words, and whether to go on.
std::string accessFailureText(const std::string& doing, const platform::Failure& failure);

std::string copyingText(const std::string& source, const std::string& target);

// A font whose new name is one of the files the run copies (a destination that a link leads
// back among the fonts, say): that file is never replaced.
std::string guardedText(const std::string& source, const std::string& target);

// An optional companion that was there and could not be copied.
std::string companionFailureText(const std::string& source, const std::string& target,
                                 const platform::Failure& failure);

// The refusal when the destination is the fonts' own folder (a "friendly" that is a link back
// there, say), where a copy could replace a file the user has.
std::string sourceFolderText(const std::string& destination, const std::string& source);

// The cause of a run that ends because its destination was moved or replaced meanwhile.
inline constexpr const char* kDestinationMoved =
    "it was moved or replaced by another folder during the run; the copies are in the folder "
    "that was there when the run began";

// The closing message: "Finished.", then the fonts gathered as left incomplete (shortfalls, the
// paragraphs CopyShortfalls gives) and how many others were left incomplete, which the
// messages before it told.
std::string finishedText(const std::string& shortfalls, std::size_t toldBefore);

// The closing message of a run stopped on request after filesDone of the listed files:
// "Stopped after 1,204 of 160,000 fonts.", then the fonts left incomplete so far, as in
// finishedText.
std::string stoppedText(std::size_t filesDone, std::size_t listed, const std::string& shortfalls,
                        std::size_t toldBefore);

// Shows the message of a failure that ends the run: "Error  NN", then what the step was
// doing (the file) and the cause in the system's words. A message that cannot be shown ends
// it just the same: nothing leaves the run.
void reportFailure(Conversation& conversation, const platform::Failure& failure,
                   const std::string& doing) noexcept;

} // namespace fontlist::copymessages
