#pragma once

#include "fontlist/BatchState.h"
#include "runtime/PathText.h"
#include "runtime/Text.h"

#include <string_view>

namespace fontlist {

// Records the system directories that the batch runs protect: WindowsDir is the Windows
// directory as the system reports it, in lower case; FontsDir is WindowsDir followed by "fonts"
// between separators. The runs look for FontsDir inside lower-cased paths, so it is kept in
// lower case with its trailing separator. Every front end starts its runs from this.
inline void recordSystemDirectories(BatchState& state, std::string_view windowsDirectory) {
    state.WindowsDir = runtime::text::foldCaseUtf8(windowsDirectory);
    state.FontsDir =
        state.WindowsDir + runtime::path::separator + "fonts" + runtime::path::separator;
}

} // namespace fontlist
