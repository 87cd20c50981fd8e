#pragma once

#include "cli/CommandLine.h"
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

// The same for the request's operands; with --recursive, a directory among them is walked
// (request.walk) and each of its files that matches request.pattern gets its line, its path
// the directory as given and the way down to it, folder by folder in the walk's order. A
// folder that could not be read is told on the error stream and makes the status kNotFinished.
int runNameCommand(const Request& request, Console& console);

} // namespace cli
