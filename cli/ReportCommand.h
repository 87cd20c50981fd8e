#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "fontcore/NameDecoding.h"

#include <string>

namespace cli {

// "report FILE": the details-pane text of a font file, exactly as the window shows it, with its
// CR LF line breaks, or LF with lineFeeds. A text that does not end with a line break gets one,
// so the shell's prompt starts on a line of its own. The strings are read with the given
// decoding.
// A file that is missing, not a regular file or of another type is a UsageError. kSuccess.
int runReportCommand(const std::string& file, bool lineFeeds, fontcore::NameDecoding decoding,
                     Console& console);

// The same for the request's operand; with --recursive and a directory, the report of every
// file of its tree that matches request.pattern, in the walk's order, each preceded by a line
// "==> PATH <==" and followed by an empty line. A folder that could not be read is told on the
// error stream; it, or a report that failed, makes the status kNotFinished.
int runReportCommand(const Request& request, Console& console);

} // namespace cli
