#include "fontlist/CopyUnderFullNames.h"

#include "fontlist/CopyMessages.h"
#include "fontlist/CopyRun.h"
#include "platform/Failure.h"

namespace fontlist {

BatchResult copyUnderFullNames(Conversation& conversation, const BatchRequest& request) {
    BatchResult result;
    try {
        if (request.listing.names.empty()) {
            conversation.show(
                copymessages::message("Current directory contains no fonts of selected type."));
            result.end = RunEnd::Refused;
            return result;
        }
        CopyRun run(conversation, request);
        return run.run();
    } catch (...) {
        // Only the message or setting up the run can get here (out of memory); the run's steps
        // are attempted.
        copymessages::reportFailure(conversation, platform::currentFailure(), {});
    }
    result.end = RunEnd::Failed;
    return result;
}

} // namespace fontlist
