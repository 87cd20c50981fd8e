#include "fontlist/FullNameLookup.h"

#include "runtime/FontFileType.h"
#include "truetype/NameTableReader.h"
#include "type1/HeaderWindow.h"

namespace fontlist {

std::optional<runtime::FullName> lookUpFullName(const std::string& path) {
    switch (runtime::fontFileTypeOf(path)) {
    case runtime::FontFileType::TrueType: return truetype::TTEnglishName(path);
    case runtime::FontFileType::Collection: return truetype::TTCEnglishName(path);
    case runtime::FontFileType::Type1: return type1::T1Name(path);
    case runtime::FontFileType::Other: break;
    }
    return std::nullopt;
}

} // namespace fontlist
