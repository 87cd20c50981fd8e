#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/RunOutcome.h"

namespace cli {

// "html DIR" and "copy DIR": the window's two batch runs (fontlist::CreateHTMLFontList_Click and
// fontlist::RenameFonts_Click) over DIR listed with the request's type filter, under its spaces
// option and name decoding, with the system directories the window records at start-up. The run
// talks through a ConsoleHost. kSuccess when it ended normally, kNotFinished otherwise. A DIR that
// cannot be listed is a UsageError.
int runBatchCommand(BatchRun run, const Request& request, Console& console);

} // namespace cli
