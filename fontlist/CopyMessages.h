#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fontlist/BatchHost.h"
#include "runtime/Failure.h"
#include "runtime/UserMessage.h"

// The messages of the copy run, all under its title.
namespace fontlist::copymessages {

runtime::UserMessage message(std::string text, runtime::Buttons buttons = runtime::Buttons::Ok,
                             runtime::MessageIcon icon = runtime::MessageIcon::None);

// The question when the destination is there already.
std::string alreadyExistsText();

// The warning when the copies would land in the system font directory.
std::string fontDirectoryText(const std::string& redirected);

// The question after a failure 75 that is not the destination being there already: what the
// step was doing, the cause in the system's words, and whether to go on.
std::string accessFailureText(const std::string& doing, const runtime::Failure& failure);

std::string copyingText(const std::string& source, const std::string& target);

// A font whose new name is one of the files the run copies (a destination that a link leads
// back among the fonts, say): that file is never replaced.
std::string guardedText(const std::string& source, const std::string& target);

// An optional companion that was there and could not be copied.
std::string companionFailureText(const std::string& source, const std::string& target,
                                 const runtime::Failure& failure);

// The closing message, with the number of fonts left incomplete.
std::string finishedText(std::size_t incomplete);

// Shows the message of a failure that ends the run. A message that cannot be shown ends it
// just the same: nothing leaves the run.
void reportFailure(BatchHost& host, int number) noexcept;

} // namespace fontlist::copymessages
