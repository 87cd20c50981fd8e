#pragma once

#include <string>
#include <string_view>

#include "text/ControlCharacters.h"

namespace cli {

// Whether the line breaks of a text reach the terminal as they are.
using text::LineBreaks;

// A text from a font or a file name as it may be shown on a terminal, where no byte of it may
// act on the terminal (retitle it, move the cursor, clear the screen) or make it read as
// another text: each control character escaped as text::appendEscapingControls shows
// it ("\x1b", "\u009b", "\u202e"), and each byte that begins no valid UTF-8 sequence as
// "\xHH"; everything else, letters beyond ASCII included, as it is. With LineBreaks::Kept an LF
// and a CR right before an LF stay raw; a lone CR is still escaped.
std::string terminalText(std::string_view text, LineBreaks lineBreaks);

} // namespace cli
