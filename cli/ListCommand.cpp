#include "cli/ListCommand.h"

#include "cli/ExitStatus.h"

#include <ostream>

namespace cli {

int runListCommand(const Request& /*request*/, Console& console) {
    console.err << "quillvane-cli: list is not built yet\n";
    return kNotFinished;
}

} // namespace cli
