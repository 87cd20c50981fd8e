#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/NamesWithoutCase.h"
#include "fontlist/ScannedFile.h"
#include "platform/FontFileReader.h"

#include <string>
#include <string_view>

namespace fontlist {

// The duplicate finder's scan of one font file, from one open of it relative to its folder: its
// stamp, the hash of its first block and its fonts' facts (sfnt names chosen and decoded as the
// decoding says), file.path its only path. A file that cannot be opened, or is not a regular
// file, is not opened and has its failure; one whose names cannot be read is opened but not
// named. Never throws.
ScannedFile scanFontFile(const platform::ListedFile& file, fontcore::NameDecoding decoding);

// Notes which of its type's companions lie beside the file (named fileName in folder, whose
// companion files folderCompanions finds without regard to case) and which do not.
void noteCompanions(ScannedFile& file, const std::string& folder, std::string_view fileName,
                    NamesWithoutCase& folderCompanions);

} // namespace fontlist
