#pragma once

#include <string_view>

namespace fontlist {

// The titles of the two batch runs' messages, and the texts their closing messages start with
// when a run finishes: what the runs show, and how a caller knows a run ended normally.
inline constexpr std::string_view kCopyRunTitle = "Font Copy and Renaming";
inline constexpr std::string_view kCopyFinishedText = "Finished.";
inline constexpr std::string_view kHtmlRunTitle = "Create HTML File With Friendly Font Names";
inline constexpr std::string_view kHtmlCreatedText = "Created ";

} // namespace fontlist
