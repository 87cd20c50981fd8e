#pragma once

#include "fontlist/BatchRequest.h"

#include <string>
#include <string_view>

namespace fontlist {

// The system folders that the batch runs protect, under the system font root as the system
// reports it: the root in lower case, and below it "fonts" between separators. The runs look
// for the font folder inside lower-cased paths, so it is kept in lower case with its trailing
// separator. Every front end starts its runs from this.
FontFolders fontFoldersUnder(std::string_view systemRoot);

// Whether a run that writes into `below` under a directory (below is empty or a relative path
// ending in a separator) would write into the system font directory: FontsDir occurs in the
// path without regard to case, either as written or with the symbolic links of both resolved,
// so that a link into the font directory (or a font directory that is itself a link) is
// recognised too; and where the directory or one above it is the font directory by device and
// inode (a bind mount of it). An unknown (empty) font directory occurs nowhere.
bool liesInFontDirectory(const std::string& directory, std::string_view below,
                         const std::string& fontsDir);

} // namespace fontlist
