#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"

namespace cli {

// list DIR: one row of facts per font of the folder's files (of its tree with --recursive),
// each font of a collection or suitcase its own row, in the request's format. Returns the
// exit status.
int runListCommand(const Request& request, Console& console);

} // namespace cli
