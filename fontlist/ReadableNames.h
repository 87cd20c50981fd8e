#pragma once

#include "fontcore/NameDecoding.h"

#include <string_view>

namespace fontlist {

// The decoding for readable names in the language of a locale name as the system gives it
// ("fr_FR", "fr_FR.UTF-8", "sr_RS@latin", "zh_Hant_TW"): its Windows language ID and its
// Macintosh language code, looked up once. "C", "POSIX", an empty name and one the locale data
// does not know give readable names without a language of the user's (English first).
fontcore::NameDecoding readableNamesIn(std::string_view localeName);

} // namespace fontlist
