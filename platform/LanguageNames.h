#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The system's locale data on languages: Windows language IDs (LCIDs) and the English names of
// languages. ICU's data on POSIX systems, the system's own on Windows. Each call looks the data
// up anew: for work done once per run, or once per language of a report, never per font.
namespace platform {

// Whether a Windows language ID's sublanguage (its high six bits) is its language's default
// one or none.
constexpr bool isDefaultSublanguage(std::uint16_t languageId) {
    return (languageId >> 10) <= 1;
}

// The Windows language ID of a locale name with "_" between its parts ("fr_FR" -> 0x040C,
// "de" -> 0x0007, the neutral German); none for a name the locale data does not know.
std::optional<std::uint16_t> windowsLanguageIdOf(std::string_view localeName);

// The English name of the language of a Windows language ID, in UTF-8, followed by its region's
// in parentheses where the ID is not the language's default one (0x0411 -> "Japanese", 0x0404
// -> "Chinese", 0x0804 -> "Chinese (China)"); empty for an ID the locale data does not know.
std::string englishNameOfWindowsLanguage(std::uint16_t languageId);

// The English name of an ISO 639 language code ("ja" -> "Japanese"), in UTF-8; empty for a
// code the locale data does not know.
std::string englishNameOfLanguage(std::string_view languageCode);

} // namespace platform
