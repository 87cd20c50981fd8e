#include "cli/DuplicatesCommand.h"

#include "cli/ExitStatus.h"
#include "cli/FolderBatch.h"
#include "cli/OperandFolders.h"
#include "cli/TerminalText.h"
#include "cli/WalkTroubleText.h"
#include "fontlist/DuplicateScan.h"
#include "fontlist/DuplicateTiers.h"
#include "fontlist/DuplicatesOutput.h"
#include "fontlist/FontTypes.h"
#include "fontlist/NamesWithoutCase.h"
#include "fontlist/SameBytes.h"
#include "platform/FolderWalk.h"
#include "platform/OrderedWorkPool.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

std::string shownOnTerminal(std::string_view text) {
    return terminalText(text, LineBreaks::Escaped);
}

void tell(Console& console, const std::string& text) {
    console.err << "quillvane-cli: "
                << (console.errorIsTerminal ? terminalText(text, LineBreaks::Escaped) : text)
                << '\n';
}

// Every font file of the walked folders scanned, in the walk's order: the files of a batch of
// folders side by side, each opened relative to its folder; a folder that could not be read is
// told as it comes.
class FolderScan final : public platform::FolderVisitor {
public:
    FolderScan(fontcore::NameDecoding decoding, Console& console)
        : decoding_(decoding), console_(console) {}

    void visit(const platform::WalkedFolder& folder) override {
        if (batch_.add(folder)) {
            scanBatch();
        }
    }

    void trouble(const platform::WalkTrouble& trouble) override {
        scanBatch();
        tellWalkTrouble(trouble, console_);
    }

    void scanBatch() {
        std::optional<fontlist::NamesWithoutCase> companions;
        const std::string* companionsFolder = nullptr;
        platform::inOrderParallel<fontlist::ScannedFile>(
            batch_.size(),
            [&](std::size_t i) {
                thread_local std::string path; // reused by each thread's scans
                return fontlist::scanFontFile(batch_.file(i, path), decoding_);
            },
            [&](std::size_t i, fontlist::ScannedFile&& file) {
                file.order = files_.size();
                file.depth = batch_.depth(i);
                const std::string& folder = batch_.folderPath(i);
                if (companionsFolder != &folder) {
                    companions.emplace(fontlist::companionPatterns());
                    companionsFolder = &folder;
                }
                fontlist::noteCompanions(file, folder, batch_.name(i), *companions);
                files_.push_back(std::move(file));
            });
        batch_.clear();
    }

    std::vector<fontlist::ScannedFile>& files() noexcept { return files_; }

private:
    fontcore::NameDecoding decoding_;
    Console& console_;
    FolderBatch batch_;
    std::vector<fontlist::ScannedFile> files_;
};

// Tells what kept a scanned file out of the comparison, or out of the tiers of names; whether
// every file was read whole.
bool tellScanFailures(const std::vector<fontlist::ScannedFile>& files, Console& console) {
    bool whole = true;
    for (const fontlist::ScannedFile& file : files) {
        if (!file.failure) {
            continue;
        }
        whole = false;
        const std::string cause = file.failure->cause();
        tell(console, file.opened
                          ? "cannot read the names of '" + file.paths.front() + "': " + cause +
                                "; compared by its bytes alone"
                          : "cannot read '" + file.paths.front() + "': " + cause + "; left out");
    }
    return whole;
}

} // namespace

int runDuplicatesCommand(const Request& request, Console& console) {
    FolderScan scan(request.decoding, console);
    bool complete = visitOperandFolders(request, scan);
    scan.scanBatch();
    std::vector<fontlist::ScannedFile>& files = scan.files();
    fontlist::foldHardLinks(files);
    complete = tellScanFailures(files, console) && complete;

    const fontlist::SameBytesResult sameBytes = fontlist::findSameBytes(files);
    std::vector<bool> leftOut(files.size());
    for (const fontlist::FileTrouble& trouble : sameBytes.troubles) {
        leftOut[trouble.file] = true;
        complete = false;
        tell(console,
             "'" + files[trouble.file].paths.front() + "': " + trouble.cause + "; left out");
    }
    const std::vector<fontlist::DuplicateGroup> groups =
        fontlist::findDuplicateGroups(files, sameBytes.groups, leftOut);

    const fontlist::DuplicatesOptions options{
        .format = request.duplicatesFormat,
        .shown = console.outputIsTerminal ? shownOnTerminal : nullptr,
    };
    std::string out;
    fontlist::appendDuplicatesHeader(out, options);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        fontlist::appendDuplicateGroup(out, options, g + 1, groups[g], files);
    }
    console.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    console.out.flush();
    if (!complete) {
        return kNotFinished;
    }
    return groups.empty() ? kSuccess : kDuplicatesFound;
}

} // namespace cli
