#pragma once

#include "fontlist/DuplicateTiers.h"
#include "fontlist/DuplicatesOutput.h"
#include "fontlist/ScannedFile.h"

#include <cstddef>
#include <span>
#include <string>

namespace fontlist {

// Appends the group as one JSON object on a line of its own: group, tier, tier_name, keep (the
// path; keep_bytes beside it when the path is not UTF-8), why and files, each file an object
// with path (and path_bytes), names (all of them, and names_bytes), size, version, modified,
// font_revision, companions, missing_companions, newest and keep. A path that is not UTF-8 is
// written with U+FFFD for its stray bytes, its exact bytes beside it in base64.
void appendDuplicateGroupJson(std::string& out, const DuplicatesOptions& options,
                              std::size_t number, const DuplicateGroup& group,
                              std::span<const ScannedFile> files);

} // namespace fontlist
