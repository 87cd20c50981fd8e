#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"

namespace cli {

// duplicates DIR: the groups of font files of the folder (of its tree with --recursive) that
// are copies of one another, tier by tier (same bytes, same font, other versions), each with the
// copy suggested to keep; nothing is deleted, moved or renamed. Returns the exit status: 0 for
// none, kDuplicatesFound for some, kNotFinished when a file could not be read or compared.
int runDuplicatesCommand(const Request& request, Console& console);

} // namespace cli
