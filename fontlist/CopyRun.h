#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fontlist/BatchRequest.h"
#include "fontlist/BatchResult.h"
#include "fontlist/Conversation.h"
#include "fontlist/CopySets.h"
#include "fontlist/CopyShortfalls.h"
#include "fontlist/FontTypes.h"
#include "fontlist/NamesWithoutCase.h"
#include "fontlist/ReadAhead.h"
#include "fontlist/UserMessage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/HeldDirectory.h"
#include "platform/PathText.h"

namespace fontlist {

// What the steps of one file share: the lookup builds the target that the copies use.
struct FontWork {
    const FontType* type = nullptr; // none for a listed file of no type of ours, only counted
    std::string_view extension;     // the one its type was matched by, in lower case
    std::string source;
    std::string target;
    std::size_t readAheadPosition = 0; // of its source among the files read ahead
    bool incomplete = false;           // not copied, or copied without one of its companions
};

// A font's source or target path, either of which ends in the font's extension, with that
// extension replaced.
inline std::string withExtension(const FontWork& font, const std::string& path,
                                 std::string_view extension) {
    return path.substr(0, path.size() - font.extension.size()) + std::string(extension);
}

// One run of copy-and-rename, in the order of its steps: the opening steps, the steps of each
// listed file, the closing steps. Every step goes through attempt, which says whether the run
// goes on with the step that follows it in the code.
class CopyRun {
public:
    CopyRun(Conversation& conversation, const BatchRequest& request);
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    // Never throws: every step is attempted, and the failure rule catches what it raises.
    BatchResult run();

private:
    // What a step did, when it raised no failure.
    enum class Step {
        Done,
        Declined, // a question was answered No or Cancel: the run ends without a message
        Refused,  // the run may not write where it would: it ends after saying so
    };
    // What became of a font's own file.
    enum class MainCopy {
        Copied,     // copied, or already the target
        PassedOver, // its copy failed and the user chose to go on with the next step
        Skipped,    // not copied, with its cause noted or told: its companions are not either
    };
    using MadeFiles = std::vector<CopySets::File>;
    // What became of a step tried under the run's failure rule.
    enum class Outcome {
        Done,       // it did its work
        PassedOver, // it failed with 75 and the user chose to go on with the next step
        RunEnds,    // the run ends here
    };
    using RunStep = Step (CopyRun::*)();

    // The order of the run and its failure rule.
    bool open();
    bool copy(FontWork& font, std::size_t filesAfter);
    void close();
    bool attemptInTurn(std::initializer_list<RunStep> steps);
    template <typename Action>
    bool attempt(Action&& action);
    template <typename Action>
    bool attemptCopy(FontWork& font, Action&& action);
    template <typename Action>
    Outcome outcomeOf(Action& action) noexcept;
    Outcome afterFailure(const platform::Failure& failure) noexcept;
    std::size_t incompleteCount() const;

    // The opening steps.
    Step takeSourceDirectory();
    Step chooseFriendlyDestination();
    Step redirectFromFontDirectory();
    Step createDestination();
    Step resolveDestination();
    Step layOutFiles();
    std::string destinationWithoutSeparator() const;
    void guardCompanion(const FontWork& font, std::string_view extension);

    // The steps of each file.
    Step nameTarget(FontWork& font);
    std::string unnamedFileName(const FontWork& font) const;
    bool copyFontAndCompanions(FontWork& font);
    MainCopy copyMain(FontWork& font, MadeFiles* made);
    bool copyFont(FontWork& font, const std::string& source, const std::string& target,
                  MadeFiles* made);
    void copyCompanion(FontWork& font, const Companion& companion, MadeFiles* made);
    bool copyOptionalCompanion(FontWork& font, const Companion& companion, MadeFiles* made);
    void noteUnreadable(FontWork& font, const std::string& path, const platform::Failure& failure);
    void noteWithout(FontWork& font, std::string_view extension);

    // Between the files: a stop asked for ends the run after the files done so far.
    Step takeStopRequest(std::size_t filesDone);

    // The closing steps.
    Step confirmDestination();
    Step syncDestination();
    Step noteWroteIntoFolder();
    Step showIdleTitle();
    Step showFinished();
    Step showCountdown(std::size_t filesAfter);
    Step show(const fontlist::UserMessage& shown);

    static constexpr std::string_view kFriendlyName = "friendly";
    static constexpr std::string_view kFriendly =
        platform::path::separator == '/' ? "friendly/" : "friendly\\";

    Conversation& conversation_;
    const BatchRequest& request_;
    std::string source_;
    std::string destination_; // once held, the path the directory had when it was opened
    std::optional<platform::fs::HeldDirectory> held_; // the destination, from its resolution
    std::vector<FontWork> fonts_;                     // laid out once the destination is resolved
    RunEnd end_ = RunEnd::Finished;                   // until a step ends the run
    bool wroteIntoFolder_ = false;                    // the copies are in place
    std::size_t stoppedAfter_ = 0;         // the listed files done when a stop was asked for, or 0
    NamesWithoutCase companions_;          // the directory's companion files, found without case
    platform::fs::ProtectedFiles guarded_; // every file the run reads
    CopyShortfalls shortfalls_;            // the fonts left incomplete that the end names
    CopySets sets_;                        // the files made for each font with companions
    std::string doing_; // what the step under way is doing, for the message of its failure
    bool creatingDestination_ = false;     // the step under way creates the destination
    std::unique_ptr<ReadAhead> readAhead_; // last: its thread stops first
};

} // namespace fontlist
