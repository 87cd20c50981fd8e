#include "truetype/ReadableLabels.h"

#include "platform/LanguageNames.h"
#include "truetype/MacLanguages.h"
#include "truetype/NameRecordLabels.h"

#include <array>

namespace truetype {

namespace {

constexpr std::int16_t kFirstLaterField = 19;
constexpr std::array<std::string_view, 7> laterNameFields{
    "Sample Text | ",
    "PostScript CID findfont name | ",
    "WWS Family Name | ",
    "WWS Subfamily Name | ",
    "Light Background Palette | ",
    "Dark Background Palette | ",
    "Variations PostScript Name Prefix | ",
};

std::string englishLanguageName(std::uint8_t platform, std::int16_t languageId) {
    if (languageId < 0) {
        return {};
    }
    if (platform == 3) {
        return platform::englishNameOfWindowsLanguage(static_cast<std::uint16_t>(languageId));
    }
    if (platform == 1) {
        const std::string_view iso = isoCodeOfMacLanguage(languageId);
        return iso.empty() ? std::string()
                           : platform::englishNameOfLanguage(iso.substr(0, iso.find('-')));
    }
    return {}; // the Unicode and ISO platforms give no languages
}

} // namespace

std::string readableLanguageLabel(std::uint8_t platform, std::int16_t languageId) {
    const std::string key = FontHex(languageId);
    std::string label = FontLang(key);
    if (label != key) { // the table has a label for it: no label is a key
        return label;
    }
    std::string name = englishLanguageName(platform, languageId);
    return name.empty() ? label : name;
}

std::string_view readableNameField(std::int16_t nameId) {
    const std::string_view field = NameField(nameId);
    const auto later = static_cast<std::size_t>(nameId - kFirstLaterField);
    if (!field.empty() || nameId < kFirstLaterField || later >= laterNameFields.size()) {
        return field;
    }
    return laterNameFields[later];
}

} // namespace truetype
