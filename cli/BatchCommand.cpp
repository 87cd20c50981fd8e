#include "cli/BatchCommand.h"

#include "cli/ConsoleConversation.h"
#include "cli/ExitStatus.h"
#include "cli/ListedDirectory.h"
#include "cli/StopOnInterrupt.h"
#include "cli/WalkTroubleText.h"
#include "fontlist/BatchRequest.h"
#include "fontlist/BatchResult.h"
#include "fontlist/CopyMessages.h"
#include "fontlist/CopyUnderFullNames.h"
#include "fontlist/FontList.h"
#include "fontlist/SystemDirectories.h"
#include "platform/DirectoryListing.h"
#include "platform/Failure.h"
#include "platform/FolderWalk.h"
#include "platform/SystemFontRoot.h"
#include "text/Text.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

// The builds that draw fonts (all but the Windows one) give the specimen page its drawer.
#ifdef QUILLVANE_DRAWS_FONTS
#include "drawing/FreeTypeFaceDrawer.h"
#endif

namespace cli {

namespace {

// The font files of a tree for html --recursive, each named by its way down from the top
// ("sub/dir/x.ttf"), in the walk's order; the run sorts them by key across the tree. A Ctrl+C
// during the walk stops it at the next folder.
class TreeListing final : public platform::FolderVisitor {
public:
    struct Stopped {};

    explicit TreeListing(Console& console) : console_(console) {}

    void visit(const platform::WalkedFolder& folder) override {
        if (StopOnInterrupt::asked()) {
            stopped = true;
            throw Stopped{};
        }
        for (std::size_t i = 0; i < folder.files.size(); ++i) {
            relative_.assign(folder.relative);
            relative_ += folder.files[i];
            names.push_back(relative_);
        }
    }

    void trouble(const platform::WalkTrouble& trouble) override {
        tellWalkTrouble(trouble, console_);
        lostFolders += trouble.lost ? 1 : 0;
    }

    text::TextList names;
    std::size_t lostFolders = 0;
    bool stopped = false; // by a Ctrl+C during the walk

private:
    Console& console_;
    std::string relative_;
};

// The directory's files as the window's file list lists them, with the type filter's patterns,
// or those of its tree, and what the run is asked to do with them.
fontlist::BatchRequest requestOf(const Request& request, const std::string& directory,
                                 TreeListing* tree) {
    fontlist::BatchRequest batch;
    batch.listing.directory = directory;
    if (tree != nullptr) {
        platform::walkFolders(directory, request.pattern, request.walk, *tree);
        batch.listing.names = std::move(tree->names);
    } else {
        batch.listing.names = platform::listMatchingFileNames(directory, request.pattern);
    }
    batch.folders = fontlist::fontFoldersUnder(platform::systemFontRoot());
    batch.spaces = request.spaces;
    batch.decoding = request.decoding;
    batch.specimens = request.specimens;
    return batch;
}

// What draws the specimen page's samples: none in a build that cannot draw fonts.
std::unique_ptr<fontlist::FaceDrawer> faceDrawer() {
#ifdef QUILLVANE_DRAWS_FONTS
    return std::make_unique<drawing::FreeTypeFaceDrawer>();
#else
    return nullptr;
#endif
}

fontlist::BatchResult run(BatchRun run, const Request& request, const std::string& directory,
                          TreeListing* tree, ConsoleConversation& conversation) {
    fontlist::BatchRequest batch;
    std::unique_ptr<fontlist::FaceDrawer> drawer;
    try {
        batch = requestOf(request, directory, tree);
        if (batch.specimens) {
            drawer = faceDrawer();
            batch.specimens->drawer = drawer.get();
        }
    } catch (const TreeListing::Stopped&) {
        conversation.clearProgress();
        fontlist::BatchResult stopped;
        stopped.end = fontlist::RunEnd::Stopped;
        return stopped;
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
    return run == BatchRun::Html ? fontlist::writeFontList(conversation, std::move(batch))
                                 : fontlist::copyUnderFullNames(conversation, batch);
}

} // namespace

int runBatchCommand(BatchRun batchRun, const Request& request, Console& console) {
    const std::string directory = listedDirectory(request.operands.at(0));
    ConsoleConversation conversation(console, request.assumeYes);
    fontlist::BatchResult result;
    // html --recursive lists the tree; copy works one folder at a time.
    std::optional<TreeListing> tree;
    if (request.recursive && batchRun == BatchRun::Html) {
        tree.emplace(console);
    }
    {
        // A Ctrl+C stops the run after the font in hand; its closing message says so.
        const StopOnInterrupt stopOnInterrupt;
        result = run(batchRun, request, directory, tree ? &*tree : nullptr, conversation);
    }
    conversation.clearProgress();
    if (tree && tree->stopped) {
        console.err << "quillvane-cli: stopped while walking the folders; nothing was written\n";
    }
    ExitStatus status = exitStatusOf(result);
    if (tree && tree->lostFolders > 0 && status == kSuccess) {
        // The list was written, but without the fonts of the folders that could not be read.
        status = kNotAllCopied;
    }
    if (tree && tree->lostFolders > 0 && result.end == fontlist::RunEnd::Finished) {
        console.err << "quillvane-cli: " << text::counted(tree->lostFolders, "folder", "folders")
                    << " could not be read; the list is without their fonts\n";
    }
    const std::size_t incomplete = result.fontsIncomplete;
    if (status == kNotAllCopied && batchRun == BatchRun::Copy) {
        // The run finished, but not every font was copied whole (a copy passed over with Yes,
        // as --yes answers, a companion that could not be copied, a font that could not be
        // read, a .pfb without its .pfm): a script must not take it for a full copy.
        console.err << "quillvane-cli: " << text::counted(incomplete, "font was", "fonts were")
                    << " left incomplete (not copied, or copied without a companion file)\n";
    } else if (status == kNotAllCopied && incomplete > 0) {
        // The list was written, but some fonts in it stand under their error text.
        console.err << "quillvane-cli: " << text::counted(incomplete, "font", "fonts")
                    << " could not be read\n";
    }
    return status;
}

} // namespace cli
