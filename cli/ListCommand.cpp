#include "cli/ListCommand.h"

#include "cli/ExitStatus.h"
#include "cli/FolderBatch.h"
#include "cli/OperandFolders.h"
#include "cli/TerminalText.h"
#include "cli/WalkTroubleText.h"
#include "fontlist/FactsRows.h"
#include "platform/FolderWalk.h"
#include "platform/OrderedWorkPool.h"

#include <algorithm>
#include <cstddef>
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

struct FileRows {
    std::string text;
    bool read = true;
};

// The rows of the folders as they come, in the walk's order: the files of a batch of folders are
// read side by side, each opened relative to its folder, and written in order as they come (a
// slice at a time, so that a huge folder is never held as rows); a trouble is told after the
// rows of the folders before it.
class FolderRows final : public platform::FolderVisitor {
public:
    FolderRows(const fontlist::FactsOptions& options, Console& console, RowsOutput& output)
        : options_(options), console_(console), output_(output) {}

    void visit(const platform::WalkedFolder& folder) override {
        if (batch_.add(folder)) {
            writeBatch();
        }
    }

    void trouble(const platform::WalkTrouble& trouble) override {
        writeBatch();
        output_.flush();
        tellWalkTrouble(trouble, console_);
    }

    void writeBatch() {
        for (std::size_t from = 0; from < batch_.size(); from += kSlice) {
            platform::inOrderParallel<FileRows>(
                std::min(kSlice, batch_.size() - from),
                [&](std::size_t j) { return rowsOf(from + j); },
                [&](std::size_t, FileRows&& rows) {
                    allRead_ = allRead_ && rows.read;
                    output_.write(rows.text);
                });
        }
        batch_.clear();
    }

    bool allRead() const noexcept { return allRead_; }

private:
    static constexpr std::size_t kSlice = 4096;

    FileRows rowsOf(std::size_t i) const {
        thread_local std::string path; // reused by each thread's reads
        const platform::ListedFile file = batch_.file(i, path);
        FileRows rows;
        rows.read = fontlist::appendFileRows(rows.text, options_, path,
                                             fontlist::fileFactsOf(file, options_.decoding));
        return rows;
    }

    const fontlist::FactsOptions& options_;
    Console& console_;
    RowsOutput& output_;
    FolderBatch batch_;
    bool allRead_ = true;
};

} // namespace

int runListCommand(const Request& request, Console& console) {
    const fontlist::FactsOptions options{
        .format = factsFormatOf(request.format),
        .decoding = request.decoding,
        .shown = console.outputIsTerminal ? shownOnTerminal : nullptr,
    };
    RowsOutput output(console.out);
    std::string header;
    fontlist::appendFactsHeader(header, options.format);
    output.write(header);
    FolderRows rows(options, console, output);
    const bool complete = visitOperandFolders(request, rows);
    rows.writeBatch();
    output.flush();
    return complete && rows.allRead() ? kSuccess : kNotFinished;
}

} // namespace cli
