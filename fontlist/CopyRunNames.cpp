// The new name of each font's copy, from the lookup of its full name.
#include "fontlist/CopyRun.h"

#include <string>
#include <string_view>
#include <utility>

#include "fontcore/FullName.h"
#include "fontlist/FontTypes.h"
#include "fontlist/UnreadFont.h"
#include "fontlist/ValidFileName.h"
#include "fontlist/WindowsDeviceNames.h"
#include "platform/Failure.h"
#include "text/Text.h"

namespace fontlist {

// A font that cannot be read is noted and gets no target. A name that leaves nothing after
// cleaning, and a lookup that overflowed (which the HTML list shows by file name), gives a
// name made from the file's own.
CopyRun::Step CopyRun::lookUp(FontWork& font) {
    readAhead_->reached(font.readAheadPosition);
    font.target.clear();
    const fontcore::FullName fullName = nameOf(font.source, decoding_).value();
    if (fullName.failure && couldNotBeRead(*fullName.failure)) {
        noteUnreadable(font, font.source, *fullName.failure);
        return Step::Done;
    }
    std::string base = fullName.failedWith(platform::FailureNumber::Overflow)
                           ? std::string()
                           : ValidFileName(text::trimSpaces(fullName.text()), option_);
    font.target = destination_ + (base.empty() ? unnamedFileName(font)
                                               : fileNameForThisSystem(base += font.extension));
    return Step::Done;
}

// The file's own name with ".unnamed" before its extension ("arial.ttf" gives
// "arial.unnamed.ttf"): visible, never the name of a cleaned full name (those hold no full
// stop), and distinct for distinct file names, so that two such copies collide exactly where
// the HTML list's report shows their names ("?arial") colliding.
std::string CopyRun::unnamedFileName(const FontWork& font) const {
    const std::string_view listed = std::string_view(font.source).substr(source_.size());
    std::string name(listed.substr(0, listed.size() - font.extension.size()));
    name += ".unnamed";
    name += font.extension;
    return fileNameForThisSystem(std::move(name));
}

} // namespace fontlist
