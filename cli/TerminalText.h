#pragma once

#include <string>
#include <string_view>

namespace cli {

// Whether the line breaks of a text reach the terminal as they are.
enum class LineBreaks { Escaped, Kept };

// A text from a font or a file name as it may be shown on a terminal, where no byte of it may
// act on the terminal (retitle it, move the cursor, clear the screen), shown as ls shows such
// names: each C0 control character and DEL as "\xHH" (lower-case hex, "\x1b" for ESC), each C1
// control character (U+0080 to U+009F) as "\u0080" to "\u009f", and each byte that begins no
// valid UTF-8 sequence as "\xHH"; everything else, letters beyond ASCII included, as it is.
// With LineBreaks::Kept an LF and a CR right before an LF stay raw; a lone CR, which would let
// what follows overwrite the line, is still escaped. A backslash stays as it is: the text is
// for a person to read, not for a program to decode, so "\x1b" may stand for either.
std::string terminalText(std::string_view text, LineBreaks lineBreaks);

} // namespace cli
