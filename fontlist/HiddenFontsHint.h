#pragma once

#include "platform/SharedDirectoryReads.h"

#include <optional>
#include <string>
#include <string_view>

namespace fontlist {

// What a front end shows for a folder whose file list is empty under the type filter's
// patterns while the folder holds fonts of the other types: which ones, how many of each, and
// where to find them ("No .ttf or .pfb files here. This folder holds 35 .otf files: choose
// "All font types" in the type filter."). None when the folder holds no font of ours, or the
// patterns are those of every type.
std::optional<std::string> hiddenFontsHint(const std::string& directory,
                                           std::string_view shownPatterns,
                                           const platform::SharedDirectoryReads* shared = nullptr);

} // namespace fontlist
