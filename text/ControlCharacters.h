#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The characters of a UTF-8 text that act on whatever shows it rather than being shown: the C0
// controls and DEL, the C1 controls (U+0080 to U+009F, the terminal's CSI and OSC among them),
// the bidirectional controls (U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069), which make
// a name read as another one, and the line and paragraph separators (U+2028, U+2029).
namespace text {

// The length of the control character beyond ASCII that begins at text[i]: 2 for a C1
// control, 3 for a bidirectional control or a separator, 0 for anything else.
std::size_t wideControlAt(std::string_view text, std::size_t i) noexcept;

// Whether the line breaks of a text stay as they are where control characters are escaped.
enum class LineBreaks { Escaped, Kept };
// Whether the bytes of a text that begin no valid UTF-8 sequence are escaped too.
enum class InvalidBytes { Escaped, Kept };

// Appends the text with each control character shown as ls shows it in a name: a C0 control
// and DEL as "\xHH" (lower-case hex, "\x1b" for ESC), one beyond ASCII by its code point
// ("\u009b", "\u202e"). With LineBreaks::Kept an LF and a CR right before an LF stay raw; a
// lone CR, which would let what follows overwrite the line, is still escaped. With
// InvalidBytes::Escaped each byte that begins no valid UTF-8 sequence is "\xHH" too. A
// backslash stays as it is: the text is for a person to read, not for a program to decode.
void appendEscapingControls(std::string& out, std::string_view text, LineBreaks lineBreaks,
                            InvalidBytes invalidBytes);

} // namespace text
