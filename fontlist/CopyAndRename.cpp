#include "fontlist/CopyAndRename.h"

#include "fontlist/CopyMessages.h"
#include "fontlist/CopyRun.h"
#include "platform/Failure.h"

namespace fontlist {

BatchOutcome RenameFonts_Click(BatchHost& host, BatchState& state, SpacesOption option,
                               fontcore::NameDecoding decoding) {
    try {
        host.refreshFileList();
        if (host.fileListCount() <= 0) {
            host.show(
                copymessages::message("Current directory contains no fonts of selected type."));
            host.disableBatchButtons();
            return BatchOutcome{RunEnd::Refused, 0};
        }
    } catch (...) {
        copymessages::reportFailure(host, platform::currentFailure(), {});
        return BatchOutcome{RunEnd::Failed, 0};
    }
    return RenameFont(host, state, option, decoding);
}

BatchOutcome RenameFont(BatchHost& host, BatchState& state, SpacesOption option,
                        fontcore::NameDecoding decoding) {
    try {
        CopyRun run(host, state, option, decoding);
        return run.run();
    } catch (...) {
        // Only setting up the run can get here (out of memory); its steps are attempted.
        copymessages::reportFailure(host, platform::currentFailure(), {});
        return BatchOutcome{RunEnd::Failed, 0};
    }
}

} // namespace fontlist
