#include "cli/DuplicatesCommand.h"

#include "cli/ExitStatus.h"

namespace cli {

// Stand-in until the command lands.
int runDuplicatesCommand(const Request&, Console&) {
    return kNotFinished;
}

} // namespace cli
