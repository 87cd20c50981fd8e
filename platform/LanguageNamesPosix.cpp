#include "platform/LanguageNames.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <array>

namespace platform {

namespace {

constexpr std::size_t kNameCapacity = 128;

// ICU's text in UTF-8; empty where ICU has none of its own (it gives an unknown code back as
// it stands, with a warning).
using DisplayName = int32_t (*)(const char*, const char*, UChar*, int32_t, UErrorCode*);
std::string englishText(DisplayName displayName, const char* localeId) {
    std::array<UChar, kNameCapacity> name{};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = displayName(localeId, "en", name.data(), kNameCapacity, &status);
    if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING || length <= 0) {
        return {};
    }
    std::array<char, kNameCapacity * 3> utf8{};
    int32_t utf8Length = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8Length, name.data(), length,
                &status);
    if (U_FAILURE(status)) {
        return {};
    }
    return std::string(utf8.data(), static_cast<std::size_t>(utf8Length));
}

// The English name of the language of an ICU locale ID; empty where ICU has none.
std::string englishLanguageNameOfLocale(const char* localeId) {
    std::array<char, ULOC_LANG_CAPACITY> language{};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLanguage(localeId, language.data(), static_cast<int32_t>(language.size()), &status);
    if (U_FAILURE(status) || language[0] == '\0' || std::string_view(language.data()) == "root") {
        return {};
    }
    return englishText(uloc_getDisplayLanguage, localeId);
}

} // namespace

std::optional<std::uint16_t> windowsLanguageIdOf(std::string_view localeName) {
    const std::string name(localeName);
    const uint32_t id = uloc_getLCID(name.c_str());
    if (id == 0 || id > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(id);
}

std::string englishNameOfWindowsLanguage(std::uint16_t languageId) {
    std::array<char, ULOC_FULLNAME_CAPACITY> locale{};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(languageId, locale.data(), static_cast<int32_t>(locale.size()), &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) {
        return {};
    }
    std::string name = englishLanguageNameOfLocale(locale.data());
    const std::string region = englishText(uloc_getDisplayCountry, locale.data());
    if (!name.empty() && !region.empty() && !isDefaultSublanguage(languageId)) {
        name += " (" + region + ")";
    }
    return name;
}

std::string englishNameOfLanguage(std::string_view languageCode) {
    const std::string code(languageCode);
    return englishLanguageNameOfLocale(code.c_str());
}

} // namespace platform
