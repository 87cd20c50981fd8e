#pragma once

#include <string>

namespace cli {

// The directory operand of html and copy as the window's file list holds a directory: made
// absolute against the current directory, with "." and ".." and doubled separators resolved
// as text (links are not followed), in the system's separators, without a trailing separator
// except for a root. Throws UsageError, naming the operand and the failure, when it cannot be
// listed (missing, not a directory, no permission).
std::string listedDirectory(const std::string& operand);

} // namespace cli
