#include "fontlist/HtmlListFiles.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

#include "fontlist/HtmlLinkLine.h"
#include "platform/OrderedWorkPool.h"
#include "platform/SideBySide.h"
#include "platform/TemporaryFileCleanup.h"
#include "platform/TextFileWriter.h"
#include "text/ControlCharacters.h"
#include "text/Text.h"

namespace fontlist::html_list {

namespace {

using text::kCrLf;

constexpr std::array<std::string_view, 6> kReportHeading = {
    "These following files result in duplicate font names.",
    "Fonts of the same type and with the same full font name",
    "will over-write each other when the rename feature of",
    "this application is used. Use the following list to",
    "manually resolve any potential naming conflicts,",
    "prior to renaming them:",
};

// Both or neither: each is checked before either is replaced, and the report replaced first is
// put back when the page cannot follow it. A signal that would end the process between the
// two renames waits until the pair is whole again, new or old.
void putBothInPlace(platform::TextFileWriter& report, platform::TextFileWriter& page,
                    const std::string& reportPath) {
    explained(reportPath, [&] { report.prepare(); });
    explained(kPageHelp, [&] { page.prepare(); });
    const platform::EndingSignalsHeld held;
    explained(reportPath, [&] { report.commitUndoably(); });
    try {
        explained(kPageHelp, [&] { page.commit(); });
    } catch (RunFailure& failure) {
        try {
            report.undo();
        } catch (const platform::Failure& undoFailure) {
            failure.explanation += std::string(kCrLf) + std::string(kCrLf) + reportPath +
                                   " was written, and its earlier version could not be put "
                                   "back: " +
                                   undoFailure.cause();
        }
        throw;
    }
}

// The path of listed entry i of the sorted lists, in a buffer reused for every entry.
class SortedPaths {
public:
    explicit SortedPaths(const BatchState& state) : state_(state) {}

    const std::string& operator()(std::size_t i) {
        path_.assign(state_.CurrentDir);
        path_ += state_.FontFiles[i];
        return path_;
    }

private:
    const BatchState& state_;
    std::string path_;
};

// The page's lines are made in pieces of this many, side by side, and written in order;
// the pieces run in slices, so that what waits to be written stays small.
constexpr std::size_t kPagePiece = 256;
constexpr std::size_t kPageSlice = 64;

// Writes the page's lines from the sorted lists and closes it. The page declares its encoding,
// UTF-8, in which its names and links are, rather than leave a browser to guess it.
void writePage(platform::TextFileWriter& page, const BatchState& state, std::size_t count) {
    const auto pageLine = [&](std::string_view line) {
        explained(kPageHelp, [&] { page.writeLine(line); });
    };
    const std::string directoryTarget = linkTarget(state.CurrentDir);
    // The lines from..to - 1, each but the last followed by its line end (the writer adds it).
    const auto piece = [&](std::size_t from, std::size_t to) {
        std::string lines;
        for (std::size_t i = from; i < to; ++i) {
            if (i > from) {
                lines += kCrLf;
            }
            appendHtmlLinkLine(lines, directoryTarget, state.FontFiles[i], state.FontNames[i]);
        }
        return lines;
    };
    // Making lines never waits for a device: the processors are all the threads it needs.
    constexpr platform::ParallelLimits kProcessorsOnly{.slowWork = std::chrono::hours(24)};

    pageLine("<HTML>");
    pageLine("<META CHARSET=\"UTF-8\">");
    const std::size_t pieces = (count + kPagePiece - 1) / kPagePiece;
    for (std::size_t first = 0; first < pieces; first += kPageSlice) {
        platform::inOrderParallel<std::string>(
            std::min(kPageSlice, pieces - first),
            [&](std::size_t j) {
                const std::size_t from = (first + j) * kPagePiece;
                return piece(from, std::min(from + kPagePiece, count));
            },
            [&](std::size_t, std::string&& lines) { pageLine(lines); }, kProcessorsOnly);
    }
    pageLine("</HTML>");
    explained(kPageHelp, [&] { page.close(); });
}

// Writes the report's lines and closes it. A file's path and a group's key (which holds the
// file's name where it is the question-mark form) are shown with their control characters
// escaped, so that a name holding line breaks cannot make lines that read as another group.
void writeReport(platform::TextFileWriter& report, const ListFiles& from,
                 const std::string& reportPath) {
    const auto reportLine = [&](std::string_view line) {
        explained(reportPath, [&] { report.writeLine(line); });
    };
    const BatchState& state = from.state;
    SortedPaths pathOf(state);
    std::string line; // reused for every entry
    const auto appendEscaped = [&](std::string_view text) {
        text::appendEscapingControls(line, text, text::LineBreaks::Escaped,
                                     text::InvalidBytes::Kept);
    };
    const auto reportFile = [&](std::size_t i) {
        const std::string& filePath = pathOf(i);
        explained(filePath, [&] {
            const std::uint64_t bytes = from.lengths.of(from.order[i], filePath);
            line.assign("  ");
            appendEscaped(filePath);
            line += " (";
            line += std::to_string(bytes);
            line += " bytes)";
        });
        reportLine(line);
    };
    for (const std::string_view heading : kReportHeading) {
        reportLine(heading);
    }
    for (std::size_t i = 0; i < from.order.size(); ++i) {
        if (from.places[i] == GroupPlace::Later) {
            if (from.places[i - 1] == GroupPlace::First) {
                reportLine(" ");
                line.clear();
                appendEscaped(state.FontNames[i - 1]);
                reportLine(line);
                reportFile(i - 1);
            }
            reportFile(i);
        }
    }
    reportLine(" ");
    reportLine("(end of report)");
    explained(reportPath, [&] { report.close(); });
}

} // namespace

void writeFiles(const ListFiles& from, const std::string& pagePath, const std::string& reportPath) {
    std::optional<platform::TextFileWriter> page;
    std::optional<platform::TextFileWriter> report;
    explained(kPageHelp, [&] { page.emplace(pagePath); });
    explained(reportPath, [&] { report.emplace(reportPath); });

    platform::sideBySide([&] { writeReport(*report, from, reportPath); },
                         [&] { writePage(*page, from.state, from.order.size()); });
    putBothInPlace(*report, *page, reportPath);
}

} // namespace fontlist::html_list
