#pragma once

#include "fontlist/BatchState.h"

#include <string>
#include <string_view>

namespace fontlist {

// Records the system directories that the batch runs protect: WindowsDir is the Windows
// directory as the system reports it, in lower case; FontsDir is WindowsDir followed by "fonts"
// between separators. The runs look for FontsDir inside lower-cased paths, so it is kept in
// lower case with its trailing separator. Every front end starts its runs from this.
void recordSystemDirectories(BatchState& state, std::string_view systemFontRoot);

// Whether a run that writes into `below` under a directory (below is empty or a relative path
// ending in a separator) would write into the system font directory: FontsDir occurs in the
// path without regard to case, either as written or with the symbolic links of both resolved,
// so that a link into the font directory (or a font directory that is itself a link) is
// recognised too; and where the directory or one above it is the font directory by device and
// inode (a bind mount of it). An unknown (empty) font directory occurs nowhere.
bool liesInFontDirectory(const std::string& directory, std::string_view below,
                         const std::string& fontsDir);

} // namespace fontlist
