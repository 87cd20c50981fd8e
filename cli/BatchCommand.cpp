#include "cli/BatchCommand.h"

#include "cli/ConsoleHost.h"
#include "cli/ExitStatus.h"
#include "cli/ListedDirectory.h"
#include "fontlist/BatchState.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"
#include "fontlist/SystemDirectories.h"
#include "runtime/WindowsDirectory.h"

namespace cli {

int runBatchCommand(BatchRun run, const Request& request, Console& console) {
    const std::string directory = listedDirectory(request.operands.at(0));

    fontlist::BatchState state;
    fontlist::recordSystemDirectories(state, runtime::windowsDirectory());

    ConsoleHost host(directory, request.pattern, console, request.assumeYes);
    switch (run) {
    case BatchRun::Html: fontlist::CreateHTMLFontList(host, state, request.spaces); break;
    case BatchRun::Copy: fontlist::RenameFonts(host, state, request.spaces); break;
    }
    host.clearProgress();
    return endedNormally(run, host.lastMessage()) ? kSuccess : kNotFinished;
}

} // namespace cli
