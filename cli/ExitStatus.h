#pragma once

namespace cli {

// The tool's exit statuses; the help text explains them per command.
enum ExitStatus : int {
    kSuccess = 0,         // every name read, the report printed, the run finished
    kNotFinished = 1,     // a lookup gave an error text; a run refused, failed or answered No
    kUsage = 2,           // the command line cannot be run
    kNotAllCopied = 3,    // copy finished, but fonts were left incomplete (passed over, unread);
                          // html finished, but fonts that could not be read are listed as errors
    kDuplicatesFound = 4, // duplicates finished and found copies (every file read)
    kStopped = 130,       // html or copy stopped by Ctrl+C after the font in hand (as shells
                          // tell a command ended by it)
};

} // namespace cli
