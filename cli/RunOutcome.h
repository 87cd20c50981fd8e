#pragma once

#include "runtime/UserMessage.h"

#include <optional>

namespace cli {

enum class BatchRun { Html, Copy };

// Whether a batch run ended normally, told by the last message it showed: "Finished." for
// copy-and-rename, "Created ..." for the HTML list. A run that was refused (no fonts, the
// system font directory), ended by a failure, or stopped by a No or Cancel ends on another
// message, or on a question.
bool endedNormally(BatchRun run, const std::optional<runtime::UserMessage>& lastMessage);

} // namespace cli
