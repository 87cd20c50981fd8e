#pragma once

#include "cli/ExitStatus.h"
#include "fontlist/BatchOutcome.h"
#include "runtime/UserMessage.h"

#include <optional>

namespace cli {

enum class BatchRun { Html, Copy };

// The exit status for how a batch run ended: kSuccess when it finished, kNotAllCopied when it
// finished but passed over fonts it could not copy, kNotFinished when it was refused, declined
// or failed.
ExitStatus exitStatusOf(const fontlist::BatchOutcome& outcome);

// Interim, for copy-and-rename only, until fontlist::RenameFonts returns how it ended: its end
// told by the last message it showed. Finished when that is its OK box "Finished.", Declined
// when it is a question (which then was answered No or Cancel), otherwise Failed; a refusal of
// an empty list counts as Failed here, which gives the same exit status.
fontlist::RunEnd copyRunEndFromLastMessage(const std::optional<runtime::UserMessage>& lastMessage);

} // namespace cli
