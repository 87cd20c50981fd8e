#pragma once

#include "runtime/Text.h"

#include <string_view>

namespace runtime {

// TrueType covers the single fonts of the sfnt format (.ttf, and .otf whatever its outlines),
// Collection the files that hold several of them (.ttc, .otc).
enum class FontFileType { TrueType, Collection, Type1, Other };

// The kind of font a file holds, by the last four characters of its name or path compared
// without regard to case: ".ttf" or ".otf", ".ttc" or ".otc", ".pfb"; anything else, a name
// shorter than four characters included, is no font of ours.
inline FontFileType fontFileTypeOf(std::string_view name) {
    if (name.size() < 4) {
        return FontFileType::Other;
    }
    const std::string_view extension = name.substr(name.size() - 4);
    if (text::equalsNoCase(extension, ".ttf") || text::equalsNoCase(extension, ".otf")) {
        return FontFileType::TrueType;
    }
    if (text::equalsNoCase(extension, ".ttc") || text::equalsNoCase(extension, ".otc")) {
        return FontFileType::Collection;
    }
    if (text::equalsNoCase(extension, ".pfb")) {
        return FontFileType::Type1;
    }
    return FontFileType::Other;
}

} // namespace runtime
