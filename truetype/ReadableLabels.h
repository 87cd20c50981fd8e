#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The labels of the name-table report for readable names: those of NameRecordLabels.h, and
// where they have none, the language's English name and the name ID's OpenType meaning.
namespace truetype {

// The label table's label of the language ID ("ENU" for 0x0409, "ENG" for 0); else the English
// name of the Windows language of a Windows record ("Japanese" for 0x0411) or of the Macintosh
// language of a Macintosh one ("Japanese" for 11); else the language key ("0411").
std::string readableLanguageLabel(std::uint8_t platform, std::int16_t languageId);

// The name-ID label, ending in " | ": NameField's, or for IDs 19 to 25 their OpenType meaning
// ("Sample Text | " for 19); the empty text for the others.
std::string_view readableNameField(std::int16_t nameId);

} // namespace truetype
