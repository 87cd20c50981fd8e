#include "cli/RunOutcome.h"

namespace cli {

ExitStatus exitStatusOf(const fontlist::BatchOutcome& outcome) {
    if (outcome.end == fontlist::RunEnd::Stopped) {
        return kStopped;
    }
    if (outcome.end != fontlist::RunEnd::Finished) {
        return kNotFinished;
    }
    return outcome.fontsIncomplete > 0 ? kNotAllCopied : kSuccess;
}

} // namespace cli
