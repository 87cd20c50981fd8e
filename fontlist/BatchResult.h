#pragma once

#include "fontlist/BatchOutcome.h"

namespace fontlist {

// What a batch run did: how it ended, how many fonts it left incomplete (see BatchOutcome), and
// whether it wrote into the listed folder, so that a front end that shows the folder reads its
// lists again.
struct BatchResult : BatchOutcome {
    bool wroteIntoFolder = false;
};

} // namespace fontlist
