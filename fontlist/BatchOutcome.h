#pragma once

#include <cstddef>

namespace fontlist {

// How a batch run ended.
enum class RunEnd {
    Finished, // its closing message was shown
    Refused,  // an empty file list, or a directory where the run may not write
    Declined, // a question was answered No or Cancel
    Failed,   // a failure was reported and ended the run
    Stopped,  // the person asked it to stop: it ended after a font, with its closing message
};

// How a batch run ended and, for copy-and-rename, how many listed fonts it left incomplete: not
// copied (a failed copy passed over with Yes, a new name that is one of the run's own sources)
// or copied without one of their companions. A run can finish without copying them all.
// For the HTML list, the fonts it could not read (out of memory, a file that may not be read or
// has gone), which it lists under their error text.
struct BatchOutcome {
    RunEnd end = RunEnd::Finished;
    std::size_t fontsIncomplete = 0;
};

} // namespace fontlist
