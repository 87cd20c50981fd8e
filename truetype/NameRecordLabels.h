#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The short labels that the name-table report prints in front of each record's string. Pure
// functions: they read no file and never fail. The labels returned as views are constants that
// live as long as the program.
namespace truetype {

// The platform-and-encoding label: "Apple Unicode", "Mac", "ISO", "Win symbol", "Win Unicode",
// or the empty text for any other pair.
std::string_view PlatEnc(std::int16_t Plat, std::int16_t PEnc);

// The language key of a language ID: "0" + the ID in upper-case hexadecimal, its last four
// characters, in lower case (0 -> "00", 0x12 -> "012", 0x0C0C -> "0c0c", 0x1009 -> "1009").
std::string FontHex(std::int16_t languageId);

// The language label of a language key, compared without regard to case ("0409" -> "ENU",
// "00" -> "ENG"); a key without a label comes back unchanged.
std::string FontLang(std::string_view key);

// The name-ID label, ending in " | " ("Full Font Name | " for 4), or the empty text.
std::string_view NameField(std::int16_t NameNum);

} // namespace truetype
