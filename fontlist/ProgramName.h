#pragma once

#include <string_view>

namespace fontlist {

// The program's name. It is also the window title between runs (a run counts down in the
// title and puts the name back when it ends) and the title of the window's own warnings.
inline constexpr std::string_view kProgramName = "Quillvane";

} // namespace fontlist
