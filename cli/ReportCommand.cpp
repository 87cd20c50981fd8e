#include "cli/ReportCommand.h"

#include "cli/ConsoleText.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalText.h"
#include "cli/UsageError.h"
#include "cli/WalkTroubleText.h"
#include "fontlist/FontTypes.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/FolderWalk.h"
#include "platform/FontFileReader.h"
#include "platform/OrderedWorkPool.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace cli {

namespace {

// The report is for an existing font file; the window never reports anything else.
void requireFontFile(const std::string& file) {
    platform::fs::Attributes attributes;
    try {
        attributes = platform::fs::fileAttributes(file);
    } catch (const platform::Failure& failure) {
        throw UsageError("cannot read '" + file + "': " + failure.description());
    }
    if (attributes.directory) {
        throw UsageError("'" + file + "' is a directory");
    }
    if (fontlist::fontTypeOf(file) == nullptr) {
        throw UsageError("'" + file + "' is not a " + fontlist::fontExtensionsText() + " file");
    }
}

// The report's text as the tool writes it: ending with a line break, CR LF or LF.
std::string reportText(const fontcore::FontReport& report, bool lineFeeds) {
    std::string text = lineFeeds ? lineFeedsOnly(report.text) : report.text;
    if (text.empty() || text.back() != '\n') {
        text += lineFeeds ? "\n" : "\r\n";
    }
    return text;
}

// The reports of a walked tree, folder by folder: a folder's reports are made side by side,
// each file opened relative to the folder, and written in the folder's order.
class TreeReports final : public platform::FolderVisitor {
public:
    TreeReports(const Request& request, Console& console) : request_(request), console_(console) {}

    void visit(const platform::WalkedFolder& folder) override {
        const text::TextList& files = folder.files;
        platform::inOrderParallel<std::optional<fontcore::FontReport>>(
            files.size(),
            [&](std::size_t i) {
                const std::string path = folder.path + std::string(files[i]);
                const platform::ListedFile file{folder.directory, path,
                                                path.c_str() + folder.path.size()};
                return fontlist::reportOf(file, request_.decoding);
            },
            [&](std::size_t i, std::optional<fontcore::FontReport>&& report) {
                write(folder.path + std::string(files[i]), report);
            });
    }

    void trouble(const platform::WalkTrouble& trouble) override {
        tellWalkTrouble(trouble, console_);
    }

    bool allReported() const noexcept { return allReported_; }

private:
    void write(const std::string& path, std::optional<fontcore::FontReport>& report) {
        if (!report) { // a --filter pattern that lets a file of no type of ours through
            report.emplace(fontcore::FontReport{.text = "error: not a " +
                                                        fontlist::fontExtensionsText() + " file",
                                                .failed = true});
        }
        const char* lineEnd = request_.lineFeeds ? "\n" : "\r\n";
        std::string text = "==> " + path + " <==" + lineEnd;
        text += reportText(*report, request_.lineFeeds);
        text += lineEnd;
        console_.out << (console_.outputIsTerminal ? terminalText(text, LineBreaks::Kept) : text);
        allReported_ = allReported_ && !report->failed;
    }

    const Request& request_;
    Console& console_;
    bool allReported_ = true;
};

} // namespace

int runReportCommand(const std::string& file, bool lineFeeds, fontcore::NameDecoding decoding,
                     Console& console) {
    requireFontFile(file);
    const fontcore::FontReport report = fontlist::reportOf(file, decoding).value();
    const std::string text = reportText(report, lineFeeds);
    // A report line never holds a tab of its own making, so a tab on a terminal came from the
    // font and is shown escaped like any other control character.
    console.out << (console.outputIsTerminal ? terminalText(text, LineBreaks::Kept) : text);
    // The text of a report that failed ("Permission denied error encountered ...") is no report.
    return report.failed ? kNotFinished : kSuccess;
}

int runReportCommand(const Request& request, Console& console) {
    const std::string& operand = request.operands.at(0);
    platform::fs::Attributes attributes;
    try {
        attributes = platform::fs::fileAttributes(operand);
    } catch (const platform::Failure&) {
        attributes.directory = false; // told as without --recursive
    }
    if (!request.recursive || !attributes.directory) {
        return runReportCommand(operand, request.lineFeeds, request.decoding, console);
    }
    TreeReports reports(request, console);
    const bool complete = platform::walkFolders(operand, request.pattern, request.walk, reports);
    return complete && reports.allReported() ? kSuccess : kNotFinished;
}

} // namespace cli
