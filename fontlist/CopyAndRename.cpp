#include "fontlist/CopyAndRename.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

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

constexpr std::string_view kTitle = "Font Copy and Renaming";
// The system's word for a directory that is there already.
constexpr int kDirectoryExists = EEXIST;
using runtime::kProgramName;
using runtime::text::kCrLf;

runtime::UserMessage message(std::string text, runtime::Buttons buttons = runtime::Buttons::Ok,
                             runtime::MessageIcon icon = runtime::MessageIcon::None) {
    return runtime::UserMessage{std::string(kTitle), std::move(text), buttons, icon};
}

std::string alreadyExistsText() {
    std::string text = "/Friendly directory already exists. Fonts with the same name";
    text += kCrLf;
    text += "will be overwitten, except those flagged read-only.OK to proceed?";
    return text;
}

std::string fontDirectoryText(const std::string& redirected) {
    std::string text = "Action in the Windows Font directory is restricted.";
    text += kCrLf;
    text += "Instead, the renamed fonts will be placed in:";
    text += kCrLf;
    text += redirected;
    text += kCrLf;
    text += "Do you wish to proceed?";
    return text;
}

// The text of a failure 75 that is not the destination being there already: what the step
// was doing, the cause in the system's words, and the question whether to go on.
std::string accessFailureText(const std::string& doing, const runtime::Failure& failure) {
    std::string text = doing.empty() ? std::string() : doing + ":" + std::string(kCrLf);
    text += failure.cause();
    text += kCrLf;
    text += "OK to proceed?";
    return text;
}

std::string copyingText(const std::string& source, const std::string& target) {
    return "Could not copy " + source + " to " + target;
}

// A font whose new name is one of the files the run copies (a destination that a link leads
// back among the fonts, say): that file is never replaced.
std::string guardedText(const std::string& source, const std::string& target) {
    std::string text = "Not copied: " + source;
    text += kCrLf;
    text += "Its new name " + target +
            " is one of the files this run copies from, which are "
            "never replaced.";
    return text;
}

std::string finishedText(std::size_t incomplete) {
    std::string text = "Finished.";
    if (incomplete > 0) {
        text += kCrLf;
        text += kCrLf;
        text += std::to_string(incomplete) + (incomplete == 1 ? " font was" : " fonts were") +
                " left incomplete (not copied, or copied without a companion file); the "
                "messages before this one say why.";
    }
    return text;
}

// Shows the message of a failure that ends the run. A message that cannot be shown ends it
// just the same: nothing leaves the run.
void reportFailure(BatchHost& host, int number) noexcept {
    try {
        host.show(message("Error " + runtime::text::numberText(number)));
    } catch (...) {
    }
}

// The new name of a font file: its trimmed full name made fit for a file name, then the
// extension.
std::string newFileName(const std::string& fullName, SpacesOption option,
                        std::string_view extension) {
    return fileNameForThisSystem(ValidFileName(runtime::text::trimSpaces(fullName), option) +
                                 std::string(extension));
}

// The last four characters of a font file's path (its extension), in lower case: ".ttf",
// ".otf", ".ttc", ".otc" or ".pfb".
std::string lowerCaseExtension(const std::string& path) {
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension) {
        c = static_cast<char>(runtime::text::foldByte(static_cast<std::uint8_t>(c)));
    }
    return extension;
}

// A path with its last four characters (the extension of a font file) replaced.
std::string withExtension(const std::string& path, std::string_view extension) {
    return path.substr(0, path.size() >= 4 ? path.size() - 4 : 0) + std::string(extension);
}

// What the steps of one file share: the lookup builds the target that the copies use.
struct FontWork {
    const FontType* type = nullptr; // none for a file of no type of ours
    std::string source;
    std::string target;
    std::size_t readAheadPosition = 0; // of its source among the files read ahead
    bool incomplete = false;           // not copied, or copied without one of its companions
};

// How many files ahead of the one being copied the system is asked to read.
constexpr std::size_t kReadAheadFiles = 16;

// What became of a step tried under the run's failure rule.
enum class Outcome {
    Done,       // it did its work
    PassedOver, // it failed with 75 and the user chose to go on with the next step
    RunEnds,    // the run ends here
};

// One run of copy-and-rename, in the order of its steps: the opening steps, the steps of each
// listed file, the closing steps. Every step goes through attempt, which says whether the run
// goes on with the step that follows it in the code.
class CopyRun {
public:
    CopyRun(BatchHost& host, BatchState& state, SpacesOption option)
        : host_(host), state_(state), option_(option) {}
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    // Never throws: every step is attempted, and the failure rule catches what it raises.
    BatchOutcome run() {
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

private:
    // The opening steps; false when the run ends among them.
    bool open() {
        return attempt([this] { takeNames(); }) &&                                     //
               attempt([this] { takeSourceDirectory(); }) &&                           //
               attempt([this] { destination_ = source_ + std::string(kFriendly); }) && //
               attempt([this] { return redirectFromFontDirectory(); }) &&              //
               attempt([this] { createDestination(); }) &&                             //
               attempt([this] { resolveDestination(); }) &&                            //
               attempt([this] { layOutFiles(); });
    }

    std::size_t incompleteCount() const {
        return static_cast<std::size_t>(
            std::ranges::count_if(fonts_, [](const FontWork& font) { return font.incomplete; }));
    }

    // The steps of one listed file, the last of which counts the title down to the number of
    // files after it; false when the run ends among them.
    bool copy(FontWork& font, std::size_t filesAfter) {
        bool guarded = false; // its new name is one of the run's sources: the font is skipped
        if (font.type != nullptr) {
            if (!attempt([&] { lookUp(font); }) ||
                !attemptCopy(font, [&] { guarded = !copyFont(font, font.source, font.target); })) {
                return false;
            }
        }
        if (font.type != nullptr && !font.type->companions.empty() && !guarded) {
            if (!attemptCopy(font, [&] { copyCompanion(font, kRequiredCompanion); })) {
                return false;
            }
            for (const std::string_view extension : kOptionalCompanions) {
                if (!copyOptionalCompanion(font, extension)) {
                    return false;
                }
            }
        }
        return attempt([&] {
            host_.showProgress(runtime::text::numberText(static_cast<std::int64_t>(filesAfter)));
        });
    }

    // The closing steps: the copies handed to the device, the lists read again, the idle
    // title, the closing message, which says how many fonts were left incomplete.
    void close() {
        if (attempt([this] { runtime::fs::syncFileSystemOf(destination_); }) && //
            attempt([this] { host_.refreshDirectoryList(); }) &&                //
            attempt([this] { host_.refreshFileList(); }) &&                     //
            attempt([this] { host_.showProgress(std::string(kProgramName)); })) {
            attempt([this] { host_.show(message(finishedText(incompleteCount()))); });
        }
    }

    // Runs one step under the failure rule; false when the run ends. A step that returns
    // false ends the run as a No to its question does, without a message.
    template <typename Action>
    bool attempt(Action&& action) {
        return outcomeOf(action) != Outcome::RunEnds;
    }

    // The same for a step without which the file is not copied: a failure passed over with Yes
    // leaves the font incomplete.
    template <typename Action>
    bool attemptCopy(FontWork& font, Action&& action) {
        const Outcome outcome = outcomeOf(action);
        if (outcome == Outcome::PassedOver) {
            font.incomplete = true;
        }
        return outcome != Outcome::RunEnds;
    }

    // A companion the font may lack (".afm", ".inf", ".mmm"): a missing one is no failure; any
    // other failure is told (the file and the cause) and leaves the font incomplete, and the
    // run goes on with the next step. False when the message itself ends the run.
    bool copyOptionalCompanion(FontWork& font, std::string_view extension) {
        try {
            copyCompanion(font, extension);
            return true;
        } catch (...) {
            const runtime::Failure failure = runtime::currentFailure();
            if (failure.is(runtime::FailureNumber::FileNotFound)) {
                return true;
            }
            font.incomplete = true;
            std::string text = copyingText(withExtension(font.source, extension),
                                           withExtension(font.target, extension));
            text += ":";
            text += kCrLf;
            text += failure.cause();
            return attempt([&] { host_.show(message(std::move(text))); });
        }
    }

    // Copies a font or one of its companions; a target that is one of the run's own sources is
    // passed over with a message that names it, and leaves the font incomplete. Whether the
    // file was copied (or already was the target).
    bool copyFont(FontWork& font, const std::string& source, const std::string& target) {
        doing_ = copyingText(source, target);
        const runtime::fs::CopyResult result = runtime::fs::copyFile(source, target, &guarded_);
        if (result != runtime::fs::CopyResult::TargetGuarded) {
            return true;
        }
        font.incomplete = true;
        host_.show(message(guardedText(source, target)));
        return false;
    }

    template <typename Action>
    Outcome outcomeOf(Action& action) noexcept {
        std::optional<runtime::Failure> failure;
        doing_.clear();
        creatingDestination_ = false;
        try {
            if constexpr (std::is_same_v<std::invoke_result_t<Action&>, bool>) {
                if (action()) {
                    return Outcome::Done;
                }
                end_ = RunEnd::Declined;
                return Outcome::RunEnds;
            } else {
                action();
                return Outcome::Done;
            }
        } catch (...) {
            failure = runtime::currentFailure();
        }
        const Outcome outcome = afterFailure(*failure);
        doing_.clear();
        return outcome;
    }

    // 75 (as when the destination exists already) asks whether to go on with the next step;
    // any other failure is shown and ends the run. Only the destination that is there already
    // is told as such; any other cause of a 75 is told in the system's words, with what the
    // step was doing.
    Outcome afterFailure(const runtime::Failure& failure) noexcept {
        end_ = RunEnd::Failed;
        if (!failure.is(runtime::FailureNumber::PathFileAccess)) {
            reportFailure(host_, failure.number());
            return Outcome::RunEnds;
        }
        try {
            const bool destinationExists =
                creatingDestination_ && failure.systemError() == kDirectoryExists;
            const runtime::Answer answer = host_.show(message(
                destinationExists ? alreadyExistsText() : accessFailureText(doing_, failure),
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

    // The names are fixed before anything is created: the copies work from this list.
    void takeNames() {
        const int count = std::max(host_.fileListCount(), 0);
        state_.FontFiles.assign(static_cast<std::size_t>(count) + 1, std::string());
        for (int i = 0; i < count; ++i) {
            state_.FontFiles[static_cast<std::size_t>(i)] = host_.fileListEntry(i);
        }
    }

    void takeSourceDirectory() {
        source_ = runtime::path::withTrailingSeparator(host_.fileListDirectory());
    }

    // In the font directory, the copies go elsewhere after a warning; false when it is
    // declined.
    bool redirectFromFontDirectory() {
        // Also where a "friendly" that is there already leads into it.
        if (!liesInFontDirectory(source_, kFriendly, state_.FontsDir) &&
            !liesInFontDirectory(runtime::fs::realPath(source_ + std::string(kFriendlyName)), {},
                                 state_.FontsDir)) {
            return true;
        }
        const std::string redirected =
            state_.WindowsDir + runtime::path::separator + "ft1fonts" + runtime::path::separator;
        const runtime::Answer answer =
            host_.show(message(fontDirectoryText(redirected), runtime::Buttons::YesNoCancel,
                               runtime::MessageIcon::Warning));
        if (answer != runtime::Answer::Yes) {
            return false;
        }
        destination_ = redirected;
        return true;
    }

    std::string destinationWithoutSeparator() const {
        std::string directory = destination_;
        if (directory.size() > 1 && directory.back() == runtime::path::separator) {
            directory.pop_back();
        }
        return directory;
    }

    void createDestination() {
        creatingDestination_ = true;
        doing_ = "Could not create " + destinationWithoutSeparator();
        runtime::fs::createDirectory(destinationWithoutSeparator());
    }

    // The destination is resolved once, links and all: every copy lands where the run began
    // to write, whatever is done to the links meanwhile. The temporary files that killed runs
    // left there go.
    void resolveDestination() {
        destination_ = runtime::path::withTrailingSeparator(
            runtime::fs::realPath(destinationWithoutSeparator()));
        runtime::removeStaleTemporaryFiles(destination_);
    }

    // Reads the number of files again and lays out the work on each, all or nothing: when this
    // fails, the run has no files to go through.
    void layOutFiles() {
        const int count = std::max(host_.fileListCount(), 0);
        std::vector<FontWork> fonts(static_cast<std::size_t>(count));
        std::vector<std::string> readAhead;
        for (std::size_t index = 0; index < fonts.size(); ++index) {
            FontWork& font = fonts[index];
            font.source = source_ + state_.FontFiles.at(index);
            font.type = fontTypeOf(font.source);
            font.readAheadPosition = readAhead.size();
            if (font.type != nullptr) {
                readAhead.push_back(font.source);
                guarded_.add(font.source);
            }
            if (font.type != nullptr && !font.type->companions.empty()) {
                guardCompanion(font, kRequiredCompanion);
                readAhead.push_back(withExtension(font.source, kRequiredCompanion));
                for (const std::string_view extension : kOptionalCompanions) {
                    guardCompanion(font, extension);
                    readAhead.push_back(withExtension(font.source, extension));
                }
            }
        }
        // On a cold cache the device reads the next fonts while this one is copied.
        readAhead_ = std::make_unique<ReadAhead>(std::move(readAhead), kReadAheadFiles);
        fonts_ = std::move(fonts);
    }

    // Every file the run may read is known before its first copy, so that no copy lands on one.
    void guardCompanion(const FontWork& font, std::string_view extension) {
        const std::string companion = withExtension(font.source, extension);
        guarded_.add(companion);
        if (const std::optional<std::string> other =
                companions_.find(source_, std::string_view(companion).substr(source_.size()))) {
            guarded_.add(source_ + *other);
        }
    }

    // A companion is the file of the same name with the companion's extension in lower case;
    // where there is none, the one file of the directory whose name matches that without
    // regard to case (FOO.PFM beside FOO.PFB). Its copy gets the lower-case extension.
    void copyCompanion(FontWork& font, std::string_view extension) {
        const std::string source = withExtension(font.source, extension);
        const std::string target = withExtension(font.target, extension);
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

    void lookUp(FontWork& font) const {
        readAhead_->reached(font.readAheadPosition);
        const std::string fullName = nameOf(font.source).value().text();
        font.target =
            destination_ + newFileName(fullName, option_, lowerCaseExtension(font.source));
    }

    // The companions of a Type 1 font, in the order they are copied: the one that must exist,
    // then those whose copies may fail.
    static constexpr std::string_view kRequiredCompanion = ".pfm";
    static constexpr std::array<std::string_view, 3> kOptionalCompanions{".afm", ".inf", ".mmm"};
    static constexpr std::string_view kFriendlyName = "friendly";
    static constexpr std::string_view kFriendly =
        runtime::path::separator == '/' ? "friendly/" : "friendly\\";

    BatchHost& host_;
    BatchState& state_;
    SpacesOption option_;
    std::string source_;
    std::string destination_;
    std::vector<FontWork> fonts_;   // laid out once the number of files is read again
    RunEnd end_ = RunEnd::Finished; // until a step ends the run
    NamesWithoutCase companions_{"*.pfm;*.afm;*.inf;*.mmm"};
    runtime::fs::ProtectedFiles guarded_; // every file the run reads
    std::string doing_; // what the step under way is doing, for the message of its failure
    bool creatingDestination_ = false;     // the step under way creates the destination
    std::unique_ptr<ReadAhead> readAhead_; // last: its thread stops first
};

} // namespace

BatchOutcome RenameFonts_Click(BatchHost& host, BatchState& state, SpacesOption option) {
    try {
        host.refreshFileList();
        if (host.fileListCount() <= 0) {
            host.show(message("Current directory contains no fonts of selected type."));
            host.disableBatchButtons();
            return BatchOutcome{RunEnd::Refused, 0};
        }
    } catch (...) {
        reportFailure(host, runtime::currentFailure().number());
        return BatchOutcome{RunEnd::Failed, 0};
    }
    return RenameFont(host, state, option);
}

BatchOutcome RenameFont(BatchHost& host, BatchState& state, SpacesOption option) {
    try {
        CopyRun run(host, state, option);
        return run.run();
    } catch (...) {
        // Only setting up the run can get here (out of memory); its steps are attempted.
        reportFailure(host, runtime::currentFailure().number());
        return BatchOutcome{RunEnd::Failed, 0};
    }
}

} // namespace fontlist
