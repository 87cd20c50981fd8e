#include "cli/NameCommand.h"

#include "cli/ExitStatus.h"
#include "cli/FolderBatch.h"
#include "cli/TerminalText.h"
#include "cli/WalkTroubleText.h"
#include "fontcore/FullName.h"
#include "fontcore/OpenFontFile.h"
#include "fontlist/FontTypes.h"
#include "platform/FolderWalk.h"
#include "platform/FontFileReader.h"
#include "platform/NativePath.h"
#include "platform/OrderedWorkPool.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

namespace cli {

namespace {

// The line of a file of no type the program reads: "error: not a .ttf, ... or .pfb file".
std::string noFontText() {
    return "error: not a " + fontlist::fontExtensionsText() + " file";
}

// Writes a file's line; whether its name was read.
bool writeNameLine(Console& console, const std::optional<fontcore::FullName>& fullName,
                   std::string_view path) {
    const std::string name = fullName ? fullName->text() : noFontText();
    if (console.outputIsTerminal) {
        console.out << terminalText(name, LineBreaks::Escaped) << '\t'
                    << terminalText(path, LineBreaks::Escaped) << '\n';
    } else {
        console.out << name << '\t' << path << '\n';
    }
    return fullName && !fullName->failure;
}

bool isDirectory(const std::string& operand) {
    std::error_code error;
    return std::filesystem::is_directory(platform::path::native(operand), error);
}

// The lines of a walked tree in the walk's order: the files of a batch of folders are looked up
// side by side, each opened relative to its folder; a trouble is told after the lines of the
// folders before it.
class TreeNames final : public platform::FolderVisitor {
public:
    TreeNames(fontcore::NameDecoding decoding, Console& console)
        : decoding_(decoding), console_(console) {}

    void visit(const platform::WalkedFolder& folder) override {
        if (batch_.add(folder)) {
            nameBatch();
        }
    }

    void trouble(const platform::WalkTrouble& trouble) override {
        nameBatch();
        tellWalkTrouble(trouble, console_);
    }

    // Names what the batch holds.
    void nameBatch() {
        platform::inOrderParallel<std::optional<fontcore::FullName>>(
            batch_.size(),
            [&](std::size_t i) {
                thread_local std::string path; // reused by each thread's lookups
                fontcore::FileLength length;
                return fontlist::nameAndLengthOf(batch_.file(i, path), length, decoding_);
            },
            [&](std::size_t i, std::optional<fontcore::FullName>&& fullName) {
                path_.assign(batch_.folderPath(i));
                path_ += batch_.name(i);
                allRead_ = writeNameLine(console_, fullName, path_) && allRead_;
            });
        batch_.clear();
    }

    bool allRead() const noexcept { return allRead_; }

private:
    fontcore::NameDecoding decoding_;
    Console& console_;
    FolderBatch batch_;
    std::string path_;
    bool allRead_ = true;
};

} // namespace

int runNameCommand(const std::vector<std::string>& files, fontcore::NameDecoding decoding,
                   Console& console) {
    bool allRead = true;
    // The files are read side by side, many at once where they must come from the disk; the
    // lines come out in the order of the files.
    platform::inOrderParallel<std::optional<fontcore::FullName>>(
        files.size(), [&](std::size_t i) { return fontlist::nameOf(files[i], decoding); },
        [&](std::size_t i, std::optional<fontcore::FullName>&& fullName) {
            allRead = writeNameLine(console, fullName, files[i]) && allRead;
        });
    return allRead ? kSuccess : kNotFinished;
}

int runNameCommand(const Request& request, Console& console) {
    if (!request.recursive) {
        return runNameCommand(request.operands, request.decoding, console);
    }
    // Files given among the directories are named as without --recursive, a run of them at once.
    bool allRead = true;
    std::vector<std::string> files;
    const auto nameFiles = [&] {
        allRead = runNameCommand(files, request.decoding, console) == kSuccess && allRead;
        files.clear();
    };
    for (const std::string& operand : request.operands) {
        if (!isDirectory(operand)) {
            files.push_back(operand);
            continue;
        }
        nameFiles();
        TreeNames names(request.decoding, console);
        const bool complete = platform::walkFolders(operand, request.pattern, request.walk, names);
        names.nameBatch();
        allRead = complete && names.allRead() && allRead;
    }
    nameFiles();
    return allRead ? kSuccess : kNotFinished;
}

} // namespace cli
