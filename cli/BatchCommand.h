#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/RunOutcome.h"

namespace cli {

// "html DIR" and "copy DIR": the two batch runs (fontlist::writeFontList and
// fontlist::copyUnderFullNames) over DIR listed with the request's type filter, under its spaces
// option and name decoding, with the system font folders. The run talks through a
// ConsoleConversation; the exit status is read from its result (see exitStatusOf). A DIR that
// cannot be listed is a UsageError.
int runBatchCommand(BatchRun run, const Request& request, Console& console);

} // namespace cli
