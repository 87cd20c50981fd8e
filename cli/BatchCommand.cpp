#include "cli/BatchCommand.h"

#include "cli/ConsoleHost.h"
#include "cli/ExitStatus.h"
#include "cli/ListedDirectory.h"
#include "fontlist/BatchState.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"
#include "fontlist/SystemDirectories.h"
#include "platform/SystemFontRoot.h"

#include <cstddef>
#include <ostream>

namespace cli {

int runBatchCommand(BatchRun run, const Request& request, Console& console) {
    const std::string directory = listedDirectory(request.operands.at(0));

    fontlist::BatchState state;
    fontlist::recordSystemDirectories(state, platform::systemFontRoot());

    ConsoleHost host(directory, request.pattern, console, request.assumeYes);
    fontlist::BatchOutcome outcome;
    switch (run) {
    case BatchRun::Html:
        outcome = fontlist::CreateHTMLFontList_Click(host, state, request.spaces, request.decoding);
        break;
    case BatchRun::Copy:
        outcome = fontlist::RenameFonts_Click(host, state, request.spaces, request.decoding);
        break;
    }
    host.clearProgress();
    const ExitStatus status = exitStatusOf(outcome);
    const std::size_t incomplete = outcome.fontsIncomplete;
    if (status == kNotAllCopied && run == BatchRun::Copy) {
        // The run finished, but not every font was copied whole (a copy passed over with Yes,
        // as --yes answers, a companion that could not be copied, a font that could not be
        // read, a .pfb without its .pfm): a script must not take it for a full copy.
        console.err << "quillvane-cli: " << incomplete
                    << (incomplete == 1 ? " font was" : " fonts were")
                    << " left incomplete (not copied, or copied without a companion file)\n";
    } else if (status == kNotAllCopied) {
        // The list was written, but some fonts in it stand under their error text.
        console.err << "quillvane-cli: " << incomplete << (incomplete == 1 ? " font" : " fonts")
                    << " could not be read\n";
    }
    return status;
}

} // namespace cli
