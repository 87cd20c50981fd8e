// The closing steps of a copy run, and the steps that talk to the host.
#include "fontlist/CopyRun.h"

#include <string>

#include "fontlist/CopyMessages.h"
#include "fontlist/ProgramName.h"
#include "fontlist/UserMessage.h"
#include "platform/Failure.h"
#include "platform/HeldDirectory.h"

namespace fontlist {

using copymessages::finishedText;
using copymessages::message;
using fontlist::kProgramName;

// The destination is still the directory the copies went into; a swap is told and ends the
// run, which never says "Finished." then.
CopyRun::Step CopyRun::confirmDestination() {
    if (!held_) {
        // Its opening failed and the run was told to go on: nothing was copied there.
        doing_ = "Could not open " + destinationWithoutSeparator();
        throw platform::Failure(platform::FailureNumber::PathNotFound);
    }
    if (!held_->stillAtItsPath()) {
        doing_ = "The copies went to " + destination_;
        throw platform::Failure(platform::FailureNumber::PathNotFound,
                                copymessages::kDestinationMoved);
    }
    return Step::Done;
}

CopyRun::Step CopyRun::syncDestination() {
    doing_ = "Could not hand the copies in " + destination_ + " to the device";
    if (held_) {
        held_->sync();
    }
    return Step::Done;
}

CopyRun::Step CopyRun::refreshDirectoryList() {
    host_.refreshDirectoryList();
    return Step::Done;
}

CopyRun::Step CopyRun::refreshFileList() {
    host_.refreshFileList();
    return Step::Done;
}

CopyRun::Step CopyRun::showProgress(const std::string& text) {
    host_.showProgress(text);
    return Step::Done;
}

// A message with OK only: whatever the answer, the run goes on.
CopyRun::Step CopyRun::show(const fontlist::UserMessage& shown) {
    host_.show(shown);
    return Step::Done;
}

CopyRun::Step CopyRun::showIdleTitle() {
    return showProgress(std::string(kProgramName));
}

CopyRun::Step CopyRun::showFinished() {
    return show(message(finishedText(shortfalls_.text(), incompleteCount() - shortfalls_.count())));
}

} // namespace fontlist
