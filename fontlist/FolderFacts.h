#pragma once

#include "fontlist/FactsRows.h"
#include "platform/FontFileReader.h"
#include "text/TextList.h"

#include <functional>
#include <string>
#include <string_view>

namespace fontlist {

// Reads the facts of the named files of a directory held open, side by side, and hands the
// text of each file's rows (see appendFileRows) to write, in the order of the names, as they
// come: a folder of a million fonts is never held as rows. Each file's path is shownPrefix
// (the folder's path as the rows give it, with its trailing separator) and its name; where the
// system cannot open files relative to the directory, that path is what is opened. Returns
// whether every row came without an error.
bool listFolderFacts(const platform::ListingDirectory& directory, std::string_view shownPrefix,
                     const text::TextList& names, const FactsOptions& options,
                     const std::function<void(std::string_view rows)>& write);

} // namespace fontlist
