#pragma once

#include "cli/Console.h"

#include <span>
#include <string>

namespace cli {

// Runs quillvane-cli with the arguments after the program name and returns its exit status.
// Usage errors are told on the error stream with a pointer to --help (status 2); nothing
// escapes.
int runCommandLineTool(std::span<const std::string> arguments, Console& console);

} // namespace cli
