#include "cli/BatchCommand.h"

#include "cli/ConsoleHost.h"
#include "cli/ExitStatus.h"
#include "cli/ListedDirectory.h"
#include "fontlist/BatchState.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"
#include "fontlist/SystemDirectories.h"
#include "runtime/WindowsDirectory.h"

#include <cstddef>
#include <ostream>

namespace cli {

int runBatchCommand(BatchRun run, const Request& request, Console& console) {
    const std::string directory = listedDirectory(request.operands.at(0));

    fontlist::BatchState state;
    fontlist::recordSystemDirectories(state, runtime::windowsDirectory());

    ConsoleHost host(directory, request.pattern, console, request.assumeYes);
    fontlist::BatchOutcome outcome;
    switch (run) {
    case BatchRun::Html:
        outcome.end = fontlist::CreateHTMLFontList_Click(host, state, request.spaces);
        break;
    case BatchRun::Copy: outcome = fontlist::RenameFonts_Click(host, state, request.spaces); break;
    }
    host.clearProgress();
    const ExitStatus status = exitStatusOf(outcome);
    if (status == kNotAllCopied) {
        // The run went on past copies that failed (a Yes to "OK to proceed?"): it finished,
        // but not every font was copied, and a script must not take it for a full copy.
        const std::size_t notCopied = outcome.fontsNotCopied;
        console.err << "quillvane-cli: " << notCopied
                    << (notCopied == 1 ? " font was" : " fonts were") << " not copied\n";
    }
    return status;
}

} // namespace cli
