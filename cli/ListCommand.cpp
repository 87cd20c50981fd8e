#include "cli/ListCommand.h"

#include "cli/ExitStatus.h"
#include "cli/ListedDirectory.h"
#include "cli/TerminalText.h"
#include "fontlist/FolderFacts.h"
#include "platform/DirectoryListing.h"
#include "platform/FolderWalk.h"
#include "platform/PathText.h"

#include <ostream>
#include <string>
#include <string_view>

namespace cli {

namespace {

// The rows go out through one buffer, written in large pieces.
class RowsOutput {
public:
    explicit RowsOutput(std::ostream& out) : out_(out) {}
    RowsOutput(const RowsOutput&) = delete;
    RowsOutput& operator=(const RowsOutput&) = delete;
    ~RowsOutput() { flush(); }

    void write(std::string_view rows) {
        buffer_ += rows;
        if (buffer_.size() >= kPiece) {
            flush();
        }
    }
    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        out_.flush();
        buffer_.clear();
    }

private:
    static constexpr std::size_t kPiece = std::size_t{64} << 10;
    std::ostream& out_;
    std::string buffer_;
};

fontlist::FactsFormat factsFormatOf(ListFormat format) {
    switch (format) {
    case ListFormat::Csv: return fontlist::FactsFormat::Csv;
    case ListFormat::Json: return fontlist::FactsFormat::Json;
    case ListFormat::Tsv: break;
    }
    return fontlist::FactsFormat::Tsv;
}

std::string shownOnTerminal(std::string_view text) {
    return terminalText(text, LineBreaks::Escaped);
}

// Lists the folders of the walk as they come, and tells its troubles on the error stream.
class ListingVisitor final : public platform::FolderVisitor {
public:
    ListingVisitor(std::string_view top, const fontlist::FactsOptions& options, Console& console,
                   RowsOutput& output)
        : top_(platform::path::withTrailingSeparator(top)), options_(options), console_(console),
          output_(output) {}

    void visit(const platform::WalkedFolder& folder) override {
        prefix_.assign(top_);
        prefix_ += folder.relative;
        allRead_ =
            fontlist::listFolderFacts(folder.directory, prefix_, folder.files, options_,
                                      [this](std::string_view rows) { output_.write(rows); }) &&
            allRead_;
    }

    void trouble(const platform::WalkTrouble& trouble) override {
        output_.flush(); // the message comes after the rows of the folders before it
        const std::string message =
            trouble.lost ? "cannot read folder '" + trouble.path + "': " + trouble.cause
                         : "'" + trouble.path + "' " + trouble.cause;
        console_.err << "quillvane-cli: "
                     << (console_.errorIsTerminal ? terminalText(message, LineBreaks::Escaped)
                                                  : message)
                     << '\n';
    }

    bool allRead() const noexcept { return allRead_; }

private:
    std::string top_;
    const fontlist::FactsOptions& options_;
    Console& console_;
    RowsOutput& output_;
    std::string prefix_;
    bool allRead_ = true;
};

} // namespace

int runListCommand(const Request& request, Console& console) {
    const std::string& operand = request.operands.at(0);
    const std::string directory = listedDirectory(operand);
    const fontlist::FactsOptions options{
        .format = factsFormatOf(request.format),
        .decoding = request.decoding,
        .shown = console.outputIsTerminal ? shownOnTerminal : nullptr,
    };
    RowsOutput output(console.out);
    std::string header;
    fontlist::appendFactsHeader(header, options.format);
    output.write(header);
    ListingVisitor visitor(operand, options, console, output);
    bool complete = true;
    if (request.recursive) {
        complete = platform::walkFolders(operand, request.pattern, request.walk, visitor);
    } else {
        const text::TextList names = platform::listMatchingFileNames(directory, request.pattern);
        const platform::ListingDirectory held(directory);
        const std::string empty;
        visitor.visit({.directory = held, .path = empty, .relative = {}, .files = names});
    }
    output.flush();
    return complete && visitor.allRead() ? kSuccess : kNotFinished;
}

} // namespace cli
