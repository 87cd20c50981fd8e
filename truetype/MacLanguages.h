#pragma once

#include <cstdint>
#include <string_view>

// The language codes of the Macintosh platform's `name` records and the ISO 639 languages they
// stand for: format data of the table, not language names (those come from the locale data).
namespace truetype {

// The ISO 639 code of a Macintosh language code, with a script where the code names one
// (11 -> "ja", 19 -> "zh-Hant", 49 -> "az-Cyrl"); empty for a code the table has not.
std::string_view isoCodeOfMacLanguage(std::int32_t macCode);

// The Macintosh language code of a language ("fr" -> 1) in a script or region as a locale
// name gives it after the language ("Hans", "TW", or empty); -1 for a language the Macintosh
// platform has no code for. Chinese is Traditional unless the script or region says
// Simplified; a language with codes for several scripts takes its usual one.
std::int32_t macLanguageOf(std::string_view language, std::string_view scriptOrRegion);

} // namespace truetype
