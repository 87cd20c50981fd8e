#include "fontlist/CopyAndRename.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontlist/FullNameLookup.h"
#include "fontlist/NamesWithoutCase.h"
#include "fontlist/ReadAhead.h"
#include "fontlist/RunMessages.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/ValidFileName.h"
#include "fontlist/WindowsDeviceNames.h"
#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/FontFileType.h"
#include "runtime/PathText.h"
#include "runtime/Text.h"
#include "runtime/UserMessage.h"
#include "truetype/NameTableReader.h"
#include "type1/HeaderWindow.h"

namespace fontlist {

namespace {

constexpr std::string_view kTitle = kCopyRunTitle;
constexpr std::string_view kProgramName = "Quillvane";
constexpr std::string_view kCrLf = "\r\n";
constexpr int kPathFileAccess = static_cast<int>(runtime::FailureNumber::PathFileAccess);

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

// A path with its last four characters (the extension of a font file) replaced.
std::string withExtension(const std::string& path, std::string_view extension) {
    return path.substr(0, path.size() >= 4 ? path.size() - 4 : 0) + std::string(extension);
}

// What a step tells the run: go on with the next step, or end here.
enum class Flow { Next, End };

// The index of the listed file whose copy a step makes, for the steps without which that file
// is not copied (the copy itself and its required companion).
constexpr std::size_t kNoFile = static_cast<std::size_t>(-1);

struct Step {
    std::function<Flow()> action;
    bool failureIgnored = false; // failures of the optional companions just move on
    std::size_t copiesFile = kNoFile;
};

template <typename Action>
Step step(Action action, bool failureIgnored = false, std::size_t copiesFile = kNoFile) {
    return Step{[action = std::move(action)] {
                    action();
                    return Flow::Next;
                },
                failureIgnored, copiesFile};
}

// What the steps of one file share: the lookup builds the target that the copies use.
struct FontWork {
    runtime::FontFileType type = runtime::FontFileType::Other;
    std::string source;
    std::string target;
    std::size_t readAheadPosition = 0; // of its source among the files read ahead
};

// How many files ahead of the one being copied the system is asked to read.
constexpr std::size_t kReadAheadFiles = 16;

// One run of copy-and-rename: the whole sequence of steps is laid out at the start; the
// per-file steps are put in place once the number of files is read, before the closing steps.
class CopyRun {
public:
    CopyRun(BatchHost& host, BatchState& state, SpacesOption option)
        : host_(host), state_(state), option_(option) {
        steps_.push_back(step([this] { takeNames(); }));
        steps_.push_back(step(
            [this] { source_ = runtime::path::withTrailingSeparator(host_.fileListDirectory()); }));
        steps_.push_back(step([this] { destination_ = source_ + std::string(kFriendly); }));
        steps_.push_back(Step{[this] { return fontDirectoryTest(); }});
        steps_.push_back(step([this] { createDestination(); }));
        steps_.push_back(step([this] { layOutFiles(); }));
        steps_.push_back(step([this] { host_.refreshDirectoryList(); }));
        steps_.push_back(step([this] { host_.refreshFileList(); }));
        steps_.push_back(step([this] { host_.showProgress(std::string(kProgramName)); }));
        steps_.push_back(step([this] { host_.show(message(std::string(kCopyFinishedText))); }));
    }
    // The steps hold on to this run.
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    void execute() {
        while (next_ < steps_.size()) {
            // Taken out of the list: a step may insert further steps after itself.
            const Step current = std::move(steps_[next_]);
            ++next_;
            if (guarded(current) == Flow::End) {
                return;
            }
        }
    }

    // The listed files that were not copied because a failure was passed over.
    std::size_t filesNotCopied() const { return notCopied_.size(); }

private:
    Flow guarded(const Step& current) {
        int number = 0;
        try {
            return current.action();
        } catch (...) {
            number = runtime::currentFailure().number();
        }
        if (current.failureIgnored) {
            return Flow::Next;
        }
        const Flow flow = handleFailure(number);
        if (flow == Flow::Next && current.copiesFile != kNoFile) {
            notCopied_.insert(current.copiesFile);
        }
        return flow;
    }

    // 75 (as when the destination exists already) asks whether to go on with the next step;
    // any other failure is shown and ends the run.
    Flow handleFailure(int number) {
        if (number != kPathFileAccess) {
            reportFailure(host_, number);
            return Flow::End;
        }
        try {
            const runtime::Answer answer =
                host_.show(message(alreadyExistsText(), runtime::Buttons::YesNoCancel));
            return answer == runtime::Answer::Yes ? Flow::Next : Flow::End;
        } catch (...) {
            return Flow::End;
        }
    }

    // The names are fixed before anything is created: the copies work from this list.
    void takeNames() {
        const int count = std::max(host_.fileListCount(), 0);
        state_.FontFiles.assign(static_cast<std::size_t>(count) + 1, std::string());
        for (int i = 0; i < count; ++i) {
            state_.FontFiles[static_cast<std::size_t>(i)] = host_.fileListEntry(i);
        }
    }

    Flow fontDirectoryTest() {
        if (!liesInFontDirectory(source_, kFriendly, state_.FontsDir)) {
            return Flow::Next;
        }
        const std::string redirected =
            state_.WindowsDir + runtime::path::separator + "ft1fonts" + runtime::path::separator;
        const runtime::Answer answer =
            host_.show(message(fontDirectoryText(redirected), runtime::Buttons::YesNoCancel,
                               runtime::MessageIcon::Warning));
        if (answer != runtime::Answer::Yes) {
            return Flow::End;
        }
        destination_ = redirected;
        return Flow::Next;
    }

    void createDestination() {
        std::string directory = destination_;
        if (directory.size() > 1 && directory.back() == runtime::path::separator) {
            directory.pop_back();
        }
        runtime::fs::createDirectory(directory);
    }

    // Reads the number of files again and puts each file's steps in place.
    void layOutFiles() {
        const int count = std::max(host_.fileListCount(), 0);
        fonts_.assign(static_cast<std::size_t>(count), FontWork{});
        std::vector<Step> fileSteps;
        std::vector<std::string> readAhead;
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<std::size_t>(i);
            FontWork& font = fonts_[index];
            font.source = source_ + state_.FontFiles.at(index);
            font.type = runtime::fontFileTypeOf(font.source);
            font.readAheadPosition = readAhead.size();
            if (font.type != runtime::FontFileType::Other) {
                readAhead.push_back(font.source);
                fileSteps.push_back(step([this, index] { lookUp(fonts_[index]); }));
                fileSteps.push_back(step(
                    [this, index] {
                        runtime::fs::copyFile(fonts_[index].source, fonts_[index].target);
                    },
                    false, index));
            }
            if (font.type == runtime::FontFileType::Type1) {
                for (const std::string_view extension : kCompanions) {
                    readAhead.push_back(withExtension(font.source, extension));
                    const bool required = extension == kRequiredCompanion;
                    fileSteps.push_back(
                        step([this, index, extension] { copyCompanion(fonts_[index], extension); },
                             !required, required ? index : kNoFile));
                }
            }
            fileSteps.push_back(step([this, count, i] {
                host_.showProgress(runtime::text::numberText(std::int64_t{count} - i - 1));
            }));
        }
        steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(next_),
                      std::make_move_iterator(fileSteps.begin()),
                      std::make_move_iterator(fileSteps.end()));
        // On a cold cache the device reads the next fonts while this one is copied.
        readAhead_ = std::make_unique<ReadAhead>(std::move(readAhead), kReadAheadFiles);
    }

    // A companion is the file of the same name with the companion's extension in lower case;
    // where there is none, the one file of the directory whose name matches that without
    // regard to case (FOO.PFM beside FOO.PFB). Its copy gets the lower-case extension.
    void copyCompanion(const FontWork& font, std::string_view extension) {
        const std::string source = withExtension(font.source, extension);
        const std::string target = withExtension(font.target, extension);
        try {
            runtime::fs::copyFile(source, target);
        } catch (const runtime::Failure& failure) {
            if (failure.number() != static_cast<int>(runtime::FailureNumber::FileNotFound)) {
                throw;
            }
            const std::optional<std::string> other =
                companions_.find(source_, std::string_view(source).substr(source_.size()));
            if (!other) {
                throw;
            }
            runtime::fs::copyFile(source_ + *other, target);
        }
    }

    void lookUp(FontWork& font) const {
        readAhead_->reached(font.readAheadPosition);
        const bool trueType = font.type == runtime::FontFileType::TrueType;
        const std::string fullName = lookUpFullName(font.source).value().text();
        font.target = destination_ + newFileName(fullName, option_, trueType ? ".ttf" : ".pfb");
    }

    // The companions of a Type 1 font, in the order they are copied; only the first must exist.
    static constexpr std::string_view kRequiredCompanion = ".pfm";
    static constexpr std::array<std::string_view, 4> kCompanions{".pfm", ".afm", ".inf", ".mmm"};
    static constexpr std::string_view kFriendly =
        runtime::path::separator == '/' ? "friendly/" : "friendly\\";

    BatchHost& host_;
    BatchState& state_;
    SpacesOption option_;
    std::string source_;
    std::string destination_;
    std::vector<FontWork> fonts_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::set<std::size_t> notCopied_;
    NamesWithoutCase companions_{"*.pfm;*.afm;*.inf;*.mmm"};
    std::unique_ptr<ReadAhead> readAhead_; // last: its thread stops first
};

} // namespace

std::size_t RenameFonts(BatchHost& host, BatchState& state, SpacesOption option) {
    try {
        host.refreshFileList();
        if (host.fileListCount() <= 0) {
            host.show(message("Current directory contains no fonts of selected type."));
            host.disableBatchButtons();
            return 0;
        }
    } catch (...) {
        reportFailure(host, runtime::currentFailure().number());
        return 0;
    }
    return RenameFont(host, state, option);
}

std::size_t RenameFont(BatchHost& host, BatchState& state, SpacesOption option) {
    try {
        CopyRun run(host, state, option);
        run.execute();
        return run.filesNotCopied();
    } catch (...) {
        // Only laying out the steps can get here (out of memory); the steps are guarded.
        reportFailure(host, runtime::currentFailure().number());
        return 0;
    }
}

} // namespace fontlist
