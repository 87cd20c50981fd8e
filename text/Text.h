#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text helpers of the core. Two kinds of text meet here:
//  - byte texts: raw bytes read from a font, one character per byte in Windows-1252. Positions
//    in them are 1-based byte positions. find/take/foldByte work on these.
//  - UTF-8 texts: everything else (paths, names, messages). foldCaseUtf8 and compareNoCase
//    work on these.
namespace text {

// Windows-1252 bytes to UTF-8. 0x00-0x7F and 0xA0-0xFF keep their code points; 0x80-0x9F
// follow the Windows-1252 table, the five unassigned bytes (0x81 0x8D 0x8F 0x90 0x9D) map
// to U+0081 U+008D U+008F U+0090 U+009D.
std::string decodeWindows1252(std::string_view bytes);
// The same, appended to out.
void appendWindows1252(std::string& out, std::string_view bytes);
// The same without the NUL bytes, which are dropped.
void appendWindows1252DroppingNuls(std::string& out, std::string_view bytes);

// Lower case of one Windows-1252 byte: A-Z, 0xC0-0xDE except 0xD7, and 0x8A 0x8C 0x8E 0x9F
// (S caron, OE, Z caron, Y diaeresis). Every other byte is itself.
std::uint8_t foldByte(std::uint8_t byte) noexcept;

// Lower case of a UTF-8 text for the letters of Windows-1252: ASCII, Latin-1 letters
// (U+00C0-U+00DE except U+00D7), U+0160, U+0152, U+017D, U+0178 (-> U+00FF). Every other
// character, and any byte sequence that is not valid UTF-8, stays as it is.
std::string foldCaseUtf8(std::string_view utf8);
// The same in place: folding never changes a text's length.
void foldCaseInPlace(char* utf8, std::size_t size) noexcept;

// Case-insensitive three-way compare of UTF-8 texts: the folded texts code point by code
// point. Negative, 0 or positive.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

// 1-based position of the first occurrence of needle in a byte text that starts at or after
// position start, comparing with foldByte; 0 when there is none, also when start lies past
// the end. A start below 1 raises failure 5. An empty needle is found at start when start is
// within the text or one past its end, else 0.
std::int64_t find(std::string_view haystack, std::int64_t start, std::string_view needle);

// At most count bytes from the 1-based position start; empty when start lies past the end or
// count is 0. A start below 1 or a negative count raises failure 5.
std::string take(std::string_view text, std::int64_t start, std::int64_t count);
// The same cut as a view into the text, none where take raises failure 5.
std::optional<std::string_view> cut(std::string_view text, std::int64_t start, std::int64_t count);

// The text without its leading and trailing spaces (code 32 only; tabs and others stay).
std::string trimSpaces(std::string_view text);
// The same as a view into the text.
std::string_view withoutOuterSpaces(std::string_view text) noexcept;

// The line end of the texts the program builds: reports, messages and the files it writes.
inline constexpr std::string_view kCrLf = "\r\n";

// Decimal digits with one blank in the place of the sign for a number that is not negative:
// 5 -> " 5", -5 -> "-5", 0 -> " 0".
std::string numberText(std::int64_t value);

// The count and the words that follow it as the count takes them: (1, "font was", "fonts were")
// -> "1 font was", (3, ...) -> "3 fonts were".
std::string counted(std::size_t count, std::string_view one, std::string_view many);

// Decimal digits grouped by threes with commas: 160000 -> "160,000", 999 -> "999".
std::string groupedNumber(std::size_t value);

// The count grouped as groupedNumber gives it and the words that follow it as the count takes
// them: (1, "font left", "fonts left") -> "1 font left", (141803, ...) -> "141,803 fonts left".
std::string countedGrouped(std::size_t count, std::string_view one, std::string_view many);

// Appends a paragraph to a message after an empty line (CR LF twice).
void appendParagraph(std::string& message, std::string_view paragraph);

} // namespace text
