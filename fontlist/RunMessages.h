#pragma once

#include <string_view>

namespace fontlist {

// The title of copy-and-rename's messages and the text of its closing message: what the run
// shows, and, until it returns how it ended, how quillvane-cli tells that it finished.
inline constexpr std::string_view kCopyRunTitle = "Font Copy and Renaming";
inline constexpr std::string_view kCopyFinishedText = "Finished.";

} // namespace fontlist
