#include "fontlist/CopyRun.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontlist/CopyMessages.h"
#include "fontlist/FontTypes.h"
#include "fontlist/NamesWithoutCase.h"
#include "fontlist/ProgramName.h"
#include "fontlist/ReadAhead.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/UserMessage.h"
#include "fontlist/ValidFileName.h"
#include "fontlist/WindowsDeviceNames.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/TemporaryFileCleanup.h"

#include <cerrno>

namespace fontlist {

namespace {

// The system's word for a directory that is there already.
constexpr int kDirectoryExists = EEXIST;
using copymessages::accessFailureText;
using copymessages::alreadyExistsText;
using copymessages::companionFailureText;
using copymessages::copyingText;
using copymessages::finishedText;
using copymessages::guardedText;
using copymessages::message;
using copymessages::reportFailure;
using fontlist::kProgramName;

} // namespace

CopyRun::CopyRun(Conversation& conversation, const BatchRequest& request)
    : conversation_(conversation), request_(request), companions_(companionPatterns()) {}

// Runs one step under the failure rule; false when the run ends.
template <typename Action>
bool CopyRun::attempt(Action&& action) {
    return outcomeOf(action) != Outcome::RunEnds;
}

// The same for a step without which the file is not copied: a failure passed over with Yes
// leaves the font incomplete.
template <typename Action>
bool CopyRun::attemptCopy(FontWork& font, Action&& action) {
    const Outcome outcome = outcomeOf(action);
    if (outcome == Outcome::PassedOver) {
        font.incomplete = true;
    }
    return outcome != Outcome::RunEnds;
}

template <typename Action>
CopyRun::Outcome CopyRun::outcomeOf(Action& action) noexcept {
    std::optional<platform::Failure> failure;
    doing_.clear();
    creatingDestination_ = false;
    try {
        const Step step = action();
        if (step == Step::Done) {
            return Outcome::Done;
        }
        end_ = step == Step::Refused ? RunEnd::Refused : RunEnd::Declined;
        return Outcome::RunEnds;
    } catch (...) {
        failure = platform::currentFailure();
    }
    const Outcome outcome = afterFailure(*failure);
    doing_.clear();
    return outcome;
}

BatchResult CopyRun::run() {
    if (open()) {
        bool goesOn = true;
        for (std::size_t index = 0; goesOn && stoppedAfter_ == 0 && index < fonts_.size();
             ++index) {
            goesOn = copy(fonts_[index], fonts_.size() - index - 1);
            if (goesOn && index + 1 < fonts_.size()) {
                goesOn = attempt([&] { return takeStopRequest(index + 1); });
            }
        }
        if (goesOn) {
            close();
        }
    }
    BatchResult result;
    // A stop ends the run only once the closing steps have all been done.
    result.end = end_ == RunEnd::Finished && stoppedAfter_ > 0 ? RunEnd::Stopped : end_;
    result.fontsIncomplete = incompleteCount();
    result.wroteIntoFolder = wroteIntoFolder_;
    return result;
}

// Attempts the steps one after the other; false when the run ends among them.
bool CopyRun::attemptInTurn(std::initializer_list<RunStep> steps) {
    for (const RunStep step : steps) {
        if (!attempt([this, step] { return (this->*step)(); })) {
            return false;
        }
    }
    return true;
}

bool CopyRun::open() {
    return attemptInTurn({&CopyRun::takeSourceDirectory, &CopyRun::chooseFriendlyDestination,
                          &CopyRun::redirectFromFontDirectory, &CopyRun::createDestination,
                          &CopyRun::resolveDestination, &CopyRun::layOutFiles});
}

// The destination confirmed, the copies handed to the device (and so the folder written for a
// front end that shows it), the idle title, the closing message, which says how many fonts
// were left incomplete (and, after a stop, how far the run came).
void CopyRun::close() {
    attemptInTurn({&CopyRun::confirmDestination, &CopyRun::syncDestination,
                   &CopyRun::noteWroteIntoFolder, &CopyRun::showIdleTitle, &CopyRun::showFinished});
}

std::size_t CopyRun::incompleteCount() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(fonts_, [](const FontWork& font) { return font.incomplete; }));
}

// The steps of one listed file, the last of which counts the title down to the number of
// files after it; false when the run ends among them. A font that cannot be read is noted
// and passed over.
bool CopyRun::copy(FontWork& font, std::size_t filesAfter) {
    if (font.type != nullptr) {
        if (!attempt([&] { return nameTarget(font); })) {
            return false;
        }
        if (!font.target.empty() && !copyFontAndCompanions(font)) {
            return false;
        }
    }
    return attempt([&] { return showCountdown(filesAfter); });
}

// The font's own file, then its companions in their order: a required companion's failure
// goes to the run's rule, an optional one's is told and counted. A font with companions
// whose new name an earlier font of the run took replaces that font's whole set, or, when its
// own file is not copied, none of it. False when the run ends.
bool CopyRun::copyFontAndCompanions(FontWork& font) {
    const bool hasSet = !font.type->companions.empty();
    const std::string name = font.target.substr(destination_.size());
    MadeFiles made;
    MainCopy main = MainCopy::PassedOver;
    if (!attemptCopy(font, [&] {
            main = copyMain(font, hasSet ? &made : nullptr);
            return Step::Done;
        })) {
        return false;
    }
    if (main == MainCopy::Skipped || (main == MainCopy::PassedOver && sets_.madeAt(name))) {
        return true;
    }
    for (const Companion& companion : font.type->companions) {
        MadeFiles* const files = hasSet ? &made : nullptr;
        const bool goesOn = companion.required
                                ? attemptCopy(font,
                                              [&] {
                                                  copyCompanion(font, companion, files);
                                                  return Step::Done;
                                              })
                                : copyOptionalCompanion(font, companion, files);
        if (!goesOn) {
            return false;
        }
    }
    if (hasSet && main == MainCopy::Copied) {
        sets_.replace(*held_, name, std::move(made));
    }
    return true;
}

// The font's own file: one that cannot be read is noted, one whose new name is one of the
// run's sources is told; neither is copied.
CopyRun::MainCopy CopyRun::copyMain(FontWork& font, MadeFiles* made) {
    try {
        return copyFont(font, font.source, font.target, made) ? MainCopy::Copied
                                                              : MainCopy::Skipped;
    } catch (const platform::fs::SourceFailure& failure) {
        noteUnreadable(font, font.source, failure);
        return MainCopy::Skipped;
    }
}

// A companion the font may lack: a missing one is no failure; a failure in the destination is
// told (the file and the cause) and leaves the font incomplete, and the run goes on with the
// next step. False when the message itself ends the run.
bool CopyRun::copyOptionalCompanion(FontWork& font, const Companion& companion, MadeFiles* made) {
    try {
        copyCompanion(font, companion, made);
        return true;
    } catch (...) {
        const platform::Failure failure = platform::currentFailure();
        font.incomplete = true;
        std::string text =
            companionFailureText(withExtension(font, font.source, companion.extension),
                                 withExtension(font, font.target, companion.extension), failure);
        return attempt([&] { return show(message(std::move(text))); });
    }
}

// Copies a font or one of its companions; a target that is one of the run's own sources is
// passed over with a message that names it, and leaves the font incomplete. Whether the
// file was copied (or already was the target). A copy made is added to made, where given.
bool CopyRun::copyFont(FontWork& font, const std::string& source, const std::string& target,
                       MadeFiles* made) {
    doing_ = copyingText(source, target);
    if (!held_) {
        // Its opening failed and the run was told to go on: there is nowhere to copy to.
        throw platform::Failure(platform::FailureNumber::PathNotFound);
    }
    std::string name = target.substr(destination_.size());
    platform::fs::FileIdentity identity;
    const platform::fs::CopyResult result = platform::fs::copyFile(
        source, *held_, name, &guarded_, false, made != nullptr ? &identity : nullptr);
    if (result == platform::fs::CopyResult::Copied && made != nullptr) {
        made->push_back(CopySets::File{std::move(name), identity});
    }
    if (result != platform::fs::CopyResult::TargetGuarded) {
        return true;
    }
    font.incomplete = true;
    conversation_.show(message(guardedText(source, target)));
    return false;
}

// A font's file that could not be read (or that changed while it was copied) is named, with
// the cause, in the closing message; the font is left incomplete. A font counts once.
void CopyRun::noteUnreadable(FontWork& font, const std::string& path,
                             const platform::Failure& failure) {
    if (!font.incomplete) {
        shortfalls_.unreadable(std::string_view(path).substr(source_.size()), failure);
    }
    font.incomplete = true;
}

void CopyRun::noteWithout(FontWork& font, std::string_view extension) {
    if (!font.incomplete) {
        shortfalls_.withoutCompanion(extension,
                                     std::string_view(font.source).substr(source_.size()));
    }
    font.incomplete = true;
}

// 75 (as when the destination exists already) asks whether to go on with the next step;
// any other failure is shown and ends the run. Only the destination that is there already
// is told as such; any other cause of a 75 is told in the system's words, with what the
// step was doing.
CopyRun::Outcome CopyRun::afterFailure(const platform::Failure& failure) noexcept {
    end_ = RunEnd::Failed;
    if (!failure.is(platform::FailureNumber::PathFileAccess)) {
        reportFailure(conversation_, failure, doing_);
        return Outcome::RunEnds;
    }
    try {
        const bool destinationExists =
            creatingDestination_ && failure.systemError() == kDirectoryExists;
        const fontlist::Answer answer = conversation_.show(
            message(destinationExists ? alreadyExistsText() : accessFailureText(doing_, failure),
                    fontlist::Buttons::YesNoCancel));
        if (answer == fontlist::Answer::Yes) {
            end_ = RunEnd::Finished;
            return Outcome::PassedOver;
        }
        end_ = RunEnd::Declined;
    } catch (...) {
    }
    return Outcome::RunEnds;
}

// A companion is the file of the same name with the companion's extension in lower case;
// where there is none, the one file of the directory whose name matches that without
// regard to case (FOO.PFM beside FOO.PFB). Its copy gets the lower-case extension. A missing
// required companion leaves the font copied without it; a companion that cannot be read is
// noted. Failures in the destination are raised.
void CopyRun::copyCompanion(FontWork& font, const Companion& companion, MadeFiles* made) {
    const std::string source = withExtension(font, font.source, companion.extension);
    const std::string target = withExtension(font, font.target, companion.extension);
    try {
        try {
            copyFont(font, source, target, made);
        } catch (const platform::fs::SourceFailure& failure) {
            if (!failure.is(platform::FailureNumber::FileNotFound)) {
                throw;
            }
            const std::optional<std::string> other =
                companions_.find(source_, std::string_view(source).substr(source_.size()));
            if (!other) {
                if (companion.required) {
                    noteWithout(font, companion.extension);
                }
                return;
            }
            copyFont(font, source_ + *other, target, made);
        }
    } catch (const platform::fs::SourceFailure& failure) {
        noteUnreadable(font, source, failure);
    }
}

} // namespace fontlist
