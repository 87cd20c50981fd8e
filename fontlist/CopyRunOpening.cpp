// The opening steps of a copy run: the names and the source taken, the destination chosen,
// created and resolved, the work on each file laid out.
#include "fontlist/CopyRun.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontlist/CopyMessages.h"
#include "fontlist/FontTypes.h"
#include "fontlist/ReadAhead.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/UserMessage.h"
#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "platform/HeldDirectory.h"
#include "platform/PathText.h"
#include "platform/TemporaryFileCleanup.h"

namespace fontlist {

namespace {

using copymessages::fontDirectoryText;
using copymessages::message;
using copymessages::sourceFolderText;

// How many files ahead of the one being copied the system is asked to read.
constexpr std::size_t kReadAheadFiles = 16;

} // namespace

// The names are fixed before anything is created: the copies work from this list.
CopyRun::Step CopyRun::takeNames() {
    const auto count = static_cast<std::size_t>(std::max(host_.fileListCount(), 0));
    state_.FontFiles.clear();
    state_.FontFiles.reserve(listEntriesFor(count));
    // Every entry there is, names or not: a name that cannot be taken stays empty.
    const auto fillUp = [&] {
        while (state_.FontFiles.size() < listEntriesFor(count)) {
            state_.FontFiles.push_back({});
        }
    };
    try {
        for (std::size_t i = 0; i < count; ++i) {
            state_.FontFiles.push_back(host_.fileListEntry(static_cast<int>(i)));
        }
    } catch (...) {
        fillUp();
        throw;
    }
    fillUp(); // the entry after the last stays empty
    return Step::Done;
}

CopyRun::Step CopyRun::takeSourceDirectory() {
    source_ = platform::path::withTrailingSeparator(host_.fileListDirectory());
    return Step::Done;
}

CopyRun::Step CopyRun::chooseFriendlyDestination() {
    destination_ = source_ + std::string(kFriendly);
    return Step::Done;
}

// In the font directory, the copies go elsewhere after a warning.
CopyRun::Step CopyRun::redirectFromFontDirectory() {
    // Also where a "friendly" that is there already leads into it.
    if (!liesInFontDirectory(source_, kFriendly, state_.FontsDir) &&
        !liesInFontDirectory(platform::fs::realPath(source_ + std::string(kFriendlyName)), {},
                             state_.FontsDir)) {
        return Step::Done;
    }
    const std::string redirected =
        state_.WindowsDir + platform::path::separator + "ft1fonts" + platform::path::separator;
    const fontlist::Answer answer =
        host_.show(message(fontDirectoryText(redirected), fontlist::Buttons::YesNoCancel,
                           fontlist::MessageIcon::Warning));
    if (answer != fontlist::Answer::Yes) {
        return Step::Declined;
    }
    destination_ = redirected;
    return Step::Done;
}

std::string CopyRun::destinationWithoutSeparator() const {
    std::string directory = destination_;
    if (directory.size() > 1 && directory.back() == platform::path::separator) {
        directory.pop_back();
    }
    return directory;
}

CopyRun::Step CopyRun::createDestination() {
    creatingDestination_ = true;
    doing_ = "Could not create " + destinationWithoutSeparator();
    platform::fs::createDirectory(destinationWithoutSeparator());
    return Step::Done;
}

// The destination is resolved once, links and all, and held open: every copy lands in the
// directory the run began to write in, whatever is done to its path meanwhile. A destination
// that is the fonts' own folder (a "friendly" that is a link back there) is refused before
// anything is copied. The temporary files that killed runs left there go.
CopyRun::Step CopyRun::resolveDestination() {
    const std::string chosen = destinationWithoutSeparator();
    doing_ = "Could not open " + chosen;
    held_.emplace(chosen);
    if (platform::fs::identityOf(source_) == held_->identity()) {
        host_.show(message(sourceFolderText(chosen, source_)));
        return Step::Refused;
    }
    destination_ = held_->path();
    platform::removeStaleTemporaryFiles(destination_);
    return Step::Done;
}

// Reads the number of files again and lays out the work on each, all or nothing: when this
// fails, the run has no files to go through.
CopyRun::Step CopyRun::layOutFiles() {
    const int count = std::max(host_.fileListCount(), 0);
    std::vector<FontWork> fonts(static_cast<std::size_t>(count));
    std::vector<std::string> readAhead;
    for (std::size_t index = 0; index < fonts.size(); ++index) {
        FontWork& font = fonts[index];
        font.source = source_;
        font.source += state_.FontFiles.at(index);
        font.type = fontTypeOf(font.source);
        font.extension = fontExtensionOf(font.source);
        font.readAheadPosition = readAhead.size();
        if (font.type == nullptr) {
            continue;
        }
        readAhead.push_back(font.source);
        guarded_.add(font.source);
        for (const Companion& companion : font.type->companions) {
            guardCompanion(font, companion.extension);
            readAhead.push_back(withExtension(font, font.source, companion.extension));
        }
    }
    // On a cold cache the device reads the next fonts while this one is copied.
    readAhead_ = std::make_unique<ReadAhead>(std::move(readAhead), kReadAheadFiles);
    fonts_ = std::move(fonts);
    return Step::Done;
}

// Every file the run may read is known before its first copy, so that no copy lands on one.
void CopyRun::guardCompanion(const FontWork& font, std::string_view extension) {
    const std::string companion = withExtension(font, font.source, extension);
    guarded_.add(companion);
    if (const std::optional<std::string> other =
            companions_.find(source_, std::string_view(companion).substr(source_.size()))) {
        guarded_.add(source_ + *other);
    }
}

} // namespace fontlist
