#include "fontlist/CopyRun.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
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
#include "fontlist/ReadAhead.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/ValidFileName.h"
#include "fontlist/WindowsDeviceNames.h"
#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/PathText.h"
#include "runtime/ProgramName.h"
#include "runtime/TemporaryFileCleanup.h"
#include "runtime/Text.h"
#include "runtime/UserMessage.h"

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
using runtime::kProgramName;

// The wildcard patterns of every companion of every type, as the file list matches names.
std::string companionPatterns() {
    std::string patterns;
    for (const FontType& type : fontTypes()) {
        for (const Companion& companion : type.companions) {
            // Appended rather than "*" + std::string(...): GCC 12 at -O3 sees a false overlap
            // in the inlined operator+ and raises -Wrestrict.
            std::string pattern(1, '*');
            pattern += companion.extension;
            if (patterns.find(pattern) == std::string::npos) {
                if (!patterns.empty()) {
                    patterns += ';';
                }
                patterns += pattern;
            }
        }
    }
    return patterns;
}

// The new name of a font file: its trimmed full name made fit for a file name, then the
// extension.
std::string newFileName(const std::string& fullName, SpacesOption option,
                        std::string_view extension) {
    return fileNameForThisSystem(ValidFileName(runtime::text::trimSpaces(fullName), option) +
                                 std::string(extension));
}

} // namespace

CopyRun::CopyRun(BatchHost& host, BatchState& state, SpacesOption option,
                 runtime::NameDecoding decoding)
    : host_(host), state_(state), option_(option), decoding_(decoding),
      companions_(companionPatterns()) {}

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
    std::optional<runtime::Failure> failure;
    doing_.clear();
    creatingDestination_ = false;
    try {
        if (action() == Step::Done) {
            return Outcome::Done;
        }
        end_ = RunEnd::Declined;
        return Outcome::RunEnds;
    } catch (...) {
        failure = runtime::currentFailure();
    }
    const Outcome outcome = afterFailure(*failure);
    doing_.clear();
    return outcome;
}

BatchOutcome CopyRun::run() {
    if (open()) {
        bool goesOn = true;
        for (std::size_t index = 0; goesOn && index < fonts_.size(); ++index) {
            goesOn = copy(fonts_[index], fonts_.size() - index - 1);
        }
        if (goesOn) {
            close();
        }
    }
    return BatchOutcome{end_, incompleteCount()};
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
    return attemptInTurn({&CopyRun::takeNames, &CopyRun::takeSourceDirectory,
                          &CopyRun::chooseFriendlyDestination, &CopyRun::redirectFromFontDirectory,
                          &CopyRun::createDestination, &CopyRun::resolveDestination,
                          &CopyRun::layOutFiles});
}

// The copies handed to the device, the lists read again, the idle title, the closing
// message, which says how many fonts were left incomplete.
void CopyRun::close() {
    attemptInTurn({&CopyRun::syncDestination, &CopyRun::refreshDirectoryList,
                   &CopyRun::refreshFileList, &CopyRun::showIdleTitle, &CopyRun::showFinished});
}

std::size_t CopyRun::incompleteCount() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(fonts_, [](const FontWork& font) { return font.incomplete; }));
}

// The steps of one listed file, the last of which counts the title down to the number of
// files after it; false when the run ends among them.
bool CopyRun::copy(FontWork& font, std::size_t filesAfter) {
    bool guarded = false; // its new name is one of the run's sources: the font is skipped
    const auto copyTheFont = [&] {
        guarded = !copyFont(font, font.source, font.target);
        return Step::Done;
    };
    if (font.type == nullptr) {
        return attempt([&] {
            return showProgress(runtime::text::numberText(static_cast<std::int64_t>(filesAfter)));
        });
    }
    if (!attempt([&] { return lookUp(font); }) || !attemptCopy(font, copyTheFont)) {
        return false;
    }
    // In their order: a required companion's failure goes to the run's rule, an optional
    // one's is told and counted.
    for (const Companion& companion :
         guarded ? std::span<const Companion>() : font.type->companions) {
        const bool goesOn = companion.required
                                ? attemptCopy(font,
                                              [&] {
                                                  copyCompanion(font, companion.extension);
                                                  return Step::Done;
                                              })
                                : copyOptionalCompanion(font, companion.extension);
        if (!goesOn) {
            return false;
        }
    }
    return attempt([&] {
        return showProgress(runtime::text::numberText(static_cast<std::int64_t>(filesAfter)));
    });
}

// A companion the font may lack: a missing one is no failure; any other failure is told
// (the file and the cause) and leaves the font incomplete, and the run goes on with the
// next step. False when the message itself ends the run.
bool CopyRun::copyOptionalCompanion(FontWork& font, std::string_view extension) {
    try {
        copyCompanion(font, extension);
        return true;
    } catch (...) {
        const runtime::Failure failure = runtime::currentFailure();
        if (failure.is(runtime::FailureNumber::FileNotFound)) {
            return true;
        }
        font.incomplete = true;
        std::string text =
            companionFailureText(withExtension(font, font.source, extension),
                                 withExtension(font, font.target, extension), failure);
        return attempt([&] { return show(message(std::move(text))); });
    }
}

// Copies a font or one of its companions; a target that is one of the run's own sources is
// passed over with a message that names it, and leaves the font incomplete. Whether the
// file was copied (or already was the target).
bool CopyRun::copyFont(FontWork& font, const std::string& source, const std::string& target) {
    doing_ = copyingText(source, target);
    const runtime::fs::CopyResult result = runtime::fs::copyFile(source, target, &guarded_);
    if (result != runtime::fs::CopyResult::TargetGuarded) {
        return true;
    }
    font.incomplete = true;
    host_.show(message(guardedText(source, target)));
    return false;
}

// 75 (as when the destination exists already) asks whether to go on with the next step;
// any other failure is shown and ends the run. Only the destination that is there already
// is told as such; any other cause of a 75 is told in the system's words, with what the
// step was doing.
CopyRun::Outcome CopyRun::afterFailure(const runtime::Failure& failure) noexcept {
    end_ = RunEnd::Failed;
    if (!failure.is(runtime::FailureNumber::PathFileAccess)) {
        reportFailure(host_, failure.number());
        return Outcome::RunEnds;
    }
    try {
        const bool destinationExists =
            creatingDestination_ && failure.systemError() == kDirectoryExists;
        const runtime::Answer answer = host_.show(
            message(destinationExists ? alreadyExistsText() : accessFailureText(doing_, failure),
                    runtime::Buttons::YesNoCancel));
        if (answer == runtime::Answer::Yes) {
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
// regard to case (FOO.PFM beside FOO.PFB). Its copy gets the lower-case extension.
void CopyRun::copyCompanion(FontWork& font, std::string_view extension) {
    const std::string source = withExtension(font, font.source, extension);
    const std::string target = withExtension(font, font.target, extension);
    try {
        copyFont(font, source, target);
    } catch (const runtime::Failure& failure) {
        if (!failure.is(runtime::FailureNumber::FileNotFound)) {
            throw;
        }
        const std::optional<std::string> other =
            companions_.find(source_, std::string_view(source).substr(source_.size()));
        if (!other) {
            throw;
        }
        copyFont(font, source_ + *other, target);
    }
}

CopyRun::Step CopyRun::lookUp(FontWork& font) const {
    readAhead_->reached(font.readAheadPosition);
    const std::string fullName = nameOf(font.source, decoding_).value().text();
    font.target = destination_ + newFileName(fullName, option_, font.extension);
    return Step::Done;
}

CopyRun::Step CopyRun::syncDestination() {
    runtime::fs::syncFileSystemOf(destination_);
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
CopyRun::Step CopyRun::show(const runtime::UserMessage& shown) {
    host_.show(shown);
    return Step::Done;
}

CopyRun::Step CopyRun::showIdleTitle() {
    return showProgress(std::string(kProgramName));
}

CopyRun::Step CopyRun::showFinished() {
    return show(message(finishedText(incompleteCount())));
}

} // namespace fontlist
