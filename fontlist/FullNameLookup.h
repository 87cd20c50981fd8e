#pragma once

#include "runtime/FullName.h"

#include <optional>
#include <string>

namespace fontlist {

// The full name of a font file, by the type its name gives it: TTEnglishName for ".ttf" and
// ".otf", TTCEnglishName (the first font's) for ".ttc" and ".otc", T1Name for ".pfb" (the last
// four characters, without regard to case). None for any other file, which is not looked up.
// Never throws.
std::optional<runtime::FullName> lookUpFullName(const std::string& path);

} // namespace fontlist
