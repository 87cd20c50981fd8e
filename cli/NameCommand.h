#pragma once

#include "cli/Console.h"
#include "fontcore/NameDecoding.h"

#include <string>
#include <vector>

namespace cli {

// "name FILE...": one line per file on the output, the full name as the batch runs get it
// (untrimmed; the error text of a lookup that failed, "error: not a .ttf, .otf, .ttc, .otc,
// .dfont, .woff, .woff2, .pfb, .pfa or .t1 file" for a file of no font type), a tab and the
// path as given. The names are read with the given decoding.
// kSuccess when every name was read, kNotFinished when any of them was not.
int runNameCommand(const std::vector<std::string>& files, fontcore::NameDecoding decoding,
                   Console& console);

} // namespace cli
