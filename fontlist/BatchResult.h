#pragma once

#include "fontlist/BatchOutcome.h"
#include "fontlist/FontRows.h"

namespace fontlist {

// What a batch run did: how it ended, how many fonts it left incomplete (see BatchOutcome), and
// whether it wrote into the listed folder, so that a front end that shows the folder reads its
// lists again.
struct BatchResult : BatchOutcome {
    bool wroteIntoFolder = false;
    // The HTML list's rows, sorted as its page lists them (empty for the copy run).
    FontRows rows{};
};

} // namespace fontlist
