#include "platform/LanguageNames.h"

#include "platform/WindowsApi.h"

#include <array>
#include <string>
#include <string_view>

namespace platform {

namespace {

// An ASCII locale name or language code as the wide text the API takes, "_" written as "-".
std::wstring wideLocaleName(std::string_view name) {
    std::wstring wide;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return {}; // no locale name has other letters
        }
        wide += c == '_' ? L'-' : static_cast<wchar_t>(c);
    }
    return wide;
}

// A text of the system's locale data on a locale name it knows, in UTF-8; empty otherwise.
std::string englishText(const wchar_t* localeName, LCTYPE type) {
    std::array<wchar_t, 128> name{};
    const int length =
        GetLocaleInfoEx(localeName, type, name.data(), static_cast<int>(name.size()));
    if (length <= 1) { // the count includes the closing NUL
        return {};
    }
    std::array<char, 128 * 3> utf8{};
    const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, name.data(), length - 1, utf8.data(),
                                               static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8Length > 0 ? std::string(utf8.data(), static_cast<std::size_t>(utf8Length))
                          : std::string();
}

} // namespace

std::optional<std::uint16_t> windowsLanguageIdOf(std::string_view localeName) {
    const std::wstring wide = wideLocaleName(localeName);
    const LCID id = wide.empty() ? 0 : LocaleNameToLCID(wide.c_str(), 0);
    if (id == 0 || id > 0xFFFF || id == LOCALE_CUSTOM_UNSPECIFIED || id == LOCALE_CUSTOM_DEFAULT) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(id);
}

std::string englishNameOfWindowsLanguage(std::uint16_t languageId) {
    std::array<wchar_t, LOCALE_NAME_MAX_LENGTH> locale{};
    if (languageId == 0 ||
        LCIDToLocaleName(languageId, locale.data(), static_cast<int>(locale.size()), 0) <= 1) {
        return {};
    }
    // The language's own name, as "zh" gives it: the system names a language together with
    // its script in some of its locales ("Chinese (Simplified)" for zh-SG).
    const std::wstring_view localeName(locale.data());
    const std::wstring language(localeName.substr(0, localeName.find(L'-')));
    std::string name = englishText(language.c_str(), LOCALE_SENGLISHLANGUAGENAME);
    const std::string region = englishText(locale.data(), LOCALE_SENGLISHCOUNTRYNAME);
    if (!name.empty() && !region.empty() && !isDefaultSublanguage(languageId)) {
        name += " (" + region + ")";
    }
    return name;
}

std::string englishNameOfLanguage(std::string_view languageCode) {
    const std::wstring wide = wideLocaleName(languageCode);
    return wide.empty() ? std::string() : englishText(wide.c_str(), LOCALE_SENGLISHLANGUAGENAME);
}

} // namespace platform
