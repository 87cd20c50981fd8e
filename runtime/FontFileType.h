#pragma once

#include "runtime/Text.h"

#include <string_view>

namespace runtime {

enum class FontFileType { TrueType, Type1, Other };

// The kind of font a file holds, by the last four characters of its name or path compared
// without regard to case: ".ttf" or ".pfb"; anything else, a name shorter than four characters
// included, is no font of ours.
inline FontFileType fontFileTypeOf(std::string_view name) {
    if (name.size() < 4) {
        return FontFileType::Other;
    }
    const std::string_view extension = name.substr(name.size() - 4);
    if (text::equalsNoCase(extension, ".ttf")) {
        return FontFileType::TrueType;
    }
    if (text::equalsNoCase(extension, ".pfb")) {
        return FontFileType::Type1;
    }
    return FontFileType::Other;
}

} // namespace runtime
