#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fontcore/FullName.h"
#include "platform/FontFileReader.h"

// The clear-text header at the start of a Type 1 font file, read as one fixed window of raw bytes
// and searched as text. Nothing here parses the font.
namespace type1 {

// The header window: 3000 raw bytes from 1-based byte position 6 of the file, i.e. the last
// byte of the first segment's length followed by the clear text. The segment marker, type and
// length are never checked.
inline constexpr std::int64_t kHeaderWindowStart = 6;
inline constexpr std::int64_t kHeaderWindowLength = 3000;

// How a Type 1 file holds its clear text: in the first segment of a binary segmented file
// (.pfb), or from its first byte in a file that opens as text (.pfa, and .t1 as Unix systems
// ship it: the clear text, then the encrypted part in binary, with no segment headers).
enum class HeaderLayout { Segmented, Text };

// The part of the header window that lies in the file: a view into the reader's page, valid
// while the reader lives and reads nothing else. It serves for the whole window: the zero
// bytes past the end of the file match nothing the lookup and the report look for, and every
// cut of theirs that finishes ends before a text they found. A Text file's window is the same
// length from the file's first byte.
std::string_view headerWindowInFile(platform::FontFileReader& reader,
                                    HeaderLayout layout = HeaderLayout::Segmented);

// The raw bytes between the "(" after key and the first ")" after key, as stored: not trimmed,
// not unescaped, not decoded. Keys are found without regard to case. Without a "(" after the
// key the value starts at the window's first byte. None where the cut is an invalid argument
// (failure 5): a missing key, no ")" after the key, or a ")" before the "(". Most damaged
// files end there, so it is a value, not an exception.
std::optional<std::string_view> T1EntryValue(std::string_view window, std::string_view key);

// The font's full name, the /FullName value decoded from Windows-1252 to UTF-8, or the failure
// that stopped the lookup (5 for a value that cannot be cut). Never throws; reads nothing past
// the header window.
fontcore::FullName T1NameFromReader(platform::FontFileReader& reader);

// The same for a file that opens as text (HeaderLayout::Text).
fontcore::FullName T1TextNameFromReader(platform::FontFileReader& reader);

// The same for the .pfb file at a UTF-8 path, opened and closed again here. Never throws.
fontcore::FullName T1Name(const std::string& utf8Path);

} // namespace type1
