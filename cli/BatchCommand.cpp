#include "cli/BatchCommand.h"

#include "cli/ConsoleConversation.h"
#include "cli/ExitStatus.h"
#include "cli/ListedDirectory.h"
#include "cli/StopOnInterrupt.h"
#include "fontlist/BatchRequest.h"
#include "fontlist/BatchResult.h"
#include "fontlist/CopyMessages.h"
#include "fontlist/CopyUnderFullNames.h"
#include "fontlist/FontList.h"
#include "fontlist/SystemDirectories.h"
#include "platform/DirectoryListing.h"
#include "platform/Failure.h"
#include "platform/SystemFontRoot.h"
#include "text/Text.h"

#include <cstddef>
#include <memory>
#include <ostream>

// The builds that draw fonts (all but the Windows one) give the specimen page its drawer.
#ifdef QUILLVANE_DRAWS_FONTS
#include "drawing/FreeTypeSpecimenDrawer.h"
#endif

namespace cli {

namespace {

// The directory's files as the window's file list lists them, with the type filter's patterns,
// and what the run is asked to do with them.
fontlist::BatchRequest requestOf(const Request& request, const std::string& directory) {
    fontlist::BatchRequest batch;
    batch.listing.directory = directory;
    batch.listing.names = platform::listMatchingFileNames(directory, request.pattern);
    batch.folders = fontlist::fontFoldersUnder(platform::systemFontRoot());
    batch.spaces = request.spaces;
    batch.decoding = request.decoding;
    batch.specimens = request.specimens;
    return batch;
}

// What draws the specimen page's samples: none in a build that cannot draw fonts.
std::unique_ptr<fontlist::SpecimenDrawer> specimenDrawer() {
#ifdef QUILLVANE_DRAWS_FONTS
    return std::make_unique<drawing::FreeTypeSpecimenDrawer>();
#else
    return nullptr;
#endif
}

fontlist::BatchResult run(BatchRun run, const Request& request, const std::string& directory,
                          ConsoleConversation& conversation) {
    fontlist::BatchRequest batch;
    std::unique_ptr<fontlist::SpecimenDrawer> drawer;
    try {
        batch = requestOf(request, directory);
        if (batch.specimens) {
            drawer = specimenDrawer();
            batch.specimens->drawer = drawer.get();
        }
    } catch (...) {
        // The listing could not be made (out of memory): told as the run tells its failures.
        const platform::Failure failure = platform::currentFailure();
        if (run == BatchRun::Html) {
            fontlist::reportFontListFailure(conversation, failure);
        } else {
            fontlist::copymessages::reportFailure(conversation, failure, {});
        }
        fontlist::BatchResult failed;
        failed.end = fontlist::RunEnd::Failed;
        return failed;
    }
    return run == BatchRun::Html ? fontlist::writeFontList(conversation, batch)
                                 : fontlist::copyUnderFullNames(conversation, batch);
}

} // namespace

int runBatchCommand(BatchRun batchRun, const Request& request, Console& console) {
    const std::string directory = listedDirectory(request.operands.at(0));
    ConsoleConversation conversation(console, request.assumeYes);
    fontlist::BatchResult result;
    {
        // A Ctrl+C stops the run after the font in hand; its closing message says so.
        const StopOnInterrupt stopOnInterrupt;
        result = run(batchRun, request, directory, conversation);
    }
    conversation.clearProgress();
    const ExitStatus status = exitStatusOf(result);
    const std::size_t incomplete = result.fontsIncomplete;
    if (status == kNotAllCopied && batchRun == BatchRun::Copy) {
        // The run finished, but not every font was copied whole (a copy passed over with Yes,
        // as --yes answers, a companion that could not be copied, a font that could not be
        // read, a .pfb without its .pfm): a script must not take it for a full copy.
        console.err << "quillvane-cli: " << text::counted(incomplete, "font was", "fonts were")
                    << " left incomplete (not copied, or copied without a companion file)\n";
    } else if (status == kNotAllCopied) {
        // The list was written, but some fonts in it stand under their error text.
        console.err << "quillvane-cli: " << text::counted(incomplete, "font", "fonts")
                    << " could not be read\n";
    }
    return status;
}

} // namespace cli
