#include "fontlist/ReadableNames.h"

#include "platform/LanguageNames.h"
#include "truetype/MacLanguages.h"

#include <cstdint>
#include <optional>

namespace fontlist {

namespace {

constexpr std::int32_t kPrimaryMask = 0x3FF; // of a Windows language ID

// The locale name without its character set (".UTF-8") and modifier ("@euro").
std::string_view withoutCodesetAndModifier(std::string_view localeName) {
    return localeName.substr(0, localeName.find_first_of(".@"));
}

} // namespace

fontcore::NameDecoding readableNamesIn(std::string_view localeName) {
    const std::string_view name = withoutCodesetAndModifier(localeName);
    if (name.empty() || name == "C" || name == "POSIX") {
        return fontcore::NameDecoding::Readable;
    }
    fontcore::NameLanguage language;
    if (const std::optional<std::uint16_t> id = platform::windowsLanguageIdOf(name)) {
        language.windowsId = *id;
        language.windowsPrimary = *id & kPrimaryMask;
    }
    // "zh_Hant_TW": the language, then what follows it up to the next "_".
    const std::size_t languageEnd = name.find_first_of("_-");
    std::string_view after;
    if (languageEnd != std::string_view::npos) {
        after = name.substr(languageEnd + 1);
        after = after.substr(0, after.find_first_of("_-"));
    }
    language.macCode = truetype::macLanguageOf(name.substr(0, languageEnd), after);
    return fontcore::NameDecoding::readableIn(language);
}

} // namespace fontlist
