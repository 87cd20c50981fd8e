#include "cli/NameCommand.h"

#include "cli/ExitStatus.h"
#include "cli/TerminalText.h"
#include "fontcore/FullName.h"
#include "fontlist/FontTypes.h"
#include "platform/OrderedWorkPool.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace cli {

namespace {

// The line of a file of no type the program reads: "error: not a .ttf, ... or .pfb file".
std::string noFontText() {
    return "error: not a " + fontlist::fontExtensionsText() + " file";
}

} // namespace

int runNameCommand(const std::vector<std::string>& files, fontcore::NameDecoding decoding,
                   Console& console) {
    bool allRead = true;
    // The files are read side by side, many at once where they must come from the disk; the
    // lines come out in the order of the files.
    platform::inOrderParallel<std::optional<fontcore::FullName>>(
        files.size(), [&](std::size_t i) { return fontlist::nameOf(files[i], decoding); },
        [&](std::size_t i, std::optional<fontcore::FullName>&& fullName) {
            allRead = allRead && fullName && !fullName->failure;
            const std::string name = fullName ? fullName->text() : noFontText();
            if (console.outputIsTerminal) {
                console.out << terminalText(name, LineBreaks::Escaped) << '\t'
                            << terminalText(files[i], LineBreaks::Escaped) << '\n';
            } else {
                console.out << name << '\t' << files[i] << '\n';
            }
        });
    return allRead ? kSuccess : kNotFinished;
}

} // namespace cli
