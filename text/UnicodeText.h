#pragma once

#include <string>
#include <string_view>

// The decoders of the "Readable names" option: font strings in UTF-16 or Mac Roman to the
// UTF-8 texts of the core. Like the byte-wise decoding they drop NUL characters, so a name
// never carries one into a path or a page.
namespace text {

// Big-endian UTF-16 to UTF-8, appended to out. A surrogate pair becomes its one character;
// an unpaired surrogate, and a last byte without its partner, each become U+FFFD. U+0000 is
// dropped. Never fails.
void appendUtf16BigEndian(std::string& out, std::string_view bytes);

// Mac Roman (Apple's table, 0xDB the euro sign and 0xF0 the Apple logo at U+F8FF) to UTF-8,
// appended to out; NUL bytes are dropped.
void appendMacRoman(std::string& out, std::string_view bytes);

// Characters to UTF-8, appended to out; a surrogate or a value above U+10FFFF becomes U+FFFD.
void appendUtf8(std::string& out, std::u32string_view characters);

} // namespace text
