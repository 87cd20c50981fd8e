#pragma once

#include "fontlist/UserMessage.h"

#include <cstddef>
#include <string>
#include <string_view>

// How the core's texts appear on a console.
namespace cli {

// The text with every CR LF turned into LF; lone CRs and LFs stay as they are.
std::string lineFeedsOnly(std::string_view text);

// A message as the console shows it: "Title: text" ("Title (warning): text" or
// "Title (error): text" for the message box icons), the text's CR LF line breaks as LF, and a
// final LF.
std::string messageText(const fontlist::UserMessage& message);

// The progress line for a progress text (the window title of a run), without the carriage
// return: "quillvane-cli: " and the text without its leading and trailing spaces.
std::string progressLine(std::string_view progress);

// The length of the text up to the end of its last whole UTF-8 sequence: the bytes after it
// begin a character whose other bytes are still to come. Bytes that cannot begin or continue
// a sequence count as whole (they are shown as U+FFFD).
std::size_t completeUtf8Length(std::string_view text);

} // namespace cli
