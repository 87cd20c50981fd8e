#pragma once

#include "cli/ExitStatus.h"
#include "fontlist/BatchOutcome.h"

namespace cli {

enum class BatchRun { Html, Copy };

// The exit status for how a batch run ended: kSuccess when it finished, kNotAllCopied when it
// finished but passed over fonts it could not copy, kStopped when it was stopped by Ctrl+C,
// kNotFinished when it was refused, declined or failed.
ExitStatus exitStatusOf(const fontlist::BatchOutcome& outcome);

} // namespace cli
