// The closing steps of a copy run, and the steps that talk to the person running it.
#include "fontlist/CopyRun.h"

#include <cstddef>
#include <string>

#include "fontlist/CopyMessages.h"
#include "fontlist/UserMessage.h"
#include "platform/Failure.h"
#include "platform/HeldDirectory.h"

namespace fontlist {

using copymessages::finishedText;
using copymessages::message;
using copymessages::stoppedText;

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

// The copies are in the folder: a front end that shows it reads its lists again.
CopyRun::Step CopyRun::noteWroteIntoFolder() {
    wroteIntoFolder_ = true;
    return Step::Done;
}

CopyRun::Step CopyRun::showCountdown(std::size_t filesAfter) {
    conversation_.showCountdown(filesAfter);
    return Step::Done;
}

CopyRun::Step CopyRun::takeStopRequest(std::size_t filesDone) {
    if (conversation_.stopAsked()) {
        stoppedAfter_ = filesDone;
    }
    return Step::Done;
}

// A message with OK only: whatever the answer, the run goes on.
CopyRun::Step CopyRun::show(const fontlist::UserMessage& shown) {
    conversation_.show(shown);
    return Step::Done;
}

CopyRun::Step CopyRun::showIdleTitle() {
    conversation_.showIdle();
    return Step::Done;
}

// "Finished.", or after a stop how far the run came; then the fonts left incomplete so far.
CopyRun::Step CopyRun::showFinished() {
    const std::size_t toldBefore = incompleteCount() - shortfalls_.count();
    return show(message(stoppedAfter_ > 0 ? stoppedText(stoppedAfter_, fonts_.size(),
                                                        shortfalls_.text(), toldBefore)
                                          : finishedText(shortfalls_.text(), toldBefore)));
}

} // namespace fontlist
