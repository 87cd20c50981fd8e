#include "fontlist/HtmlListFiles.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

#include "fontlist/FilesInPlace.h"
#include "fontlist/HtmlLinkLine.h"
#include "fontlist/SamplesPage.h"
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

// The path of listed entry i of the sorted lists, in a buffer reused for every entry.
class SortedPaths {
public:
    explicit SortedPaths(const ListFiles& from) : from_(from) {}

    const std::string& operator()(std::size_t i) {
        path_.assign(from_.directory);
        path_ += from_.rows.name(i);
        return path_;
    }

private:
    const ListFiles& from_;
    std::string path_;
};

// The page's lines are made in pieces of this many, side by side, and written in order;
// the pieces run in slices, so that what waits to be written stays small.
constexpr std::size_t kPagePiece = 256;
constexpr std::size_t kPageSlice = 64;

// Writes the page's lines from the sorted lists and closes it. The page declares its encoding,
// UTF-8, in which its names and links are, rather than leave a browser to guess it.
void writePage(platform::TextFileWriter& page, const ListFiles& list) {
    const auto pageLine = [&](std::string_view line) {
        explained(kPageHelp, [&] { page.writeLine(line); });
    };
    const std::string directoryTarget = linkTarget(list.directory);
    const std::size_t count = list.rows.size();
    // The lines from..to - 1, each but the last followed by its line end (the writer adds it).
    const auto piece = [&](std::size_t from, std::size_t to) {
        std::string lines;
        for (std::size_t i = from; i < to; ++i) {
            if (i > from) {
                lines += kCrLf;
            }
            appendHtmlLinkLine(lines, directoryTarget, list.rows.name(i), list.rows.key(i));
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
    SortedPaths pathOf(from);
    std::string line; // reused for every entry
    const auto appendEscaped = [&](std::string_view text) {
        text::appendEscapingControls(line, text, text::LineBreaks::Escaped,
                                     text::InvalidBytes::Kept);
    };
    const auto reportFile = [&](std::size_t i) {
        const std::string& filePath = pathOf(i);
        explained(filePath, [&] {
            const std::uint64_t bytes = from.rows.length(i, filePath);
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
    for (std::size_t i = 0; i < from.rows.size(); ++i) {
        if (from.places[i] == GroupPlace::Later) {
            if (from.places[i - 1] == GroupPlace::First) {
                reportLine(" ");
                line.clear();
                appendEscaped(from.rows.key(i - 1));
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

void writeFiles(const ListFiles& from, const std::string& pagePath, const std::string& reportPath,
                const SamplesFile* specimens) {
    std::optional<platform::TextFileWriter> page;
    std::optional<platform::TextFileWriter> report;
    std::optional<platform::TextFileWriter> samplesPage;
    explained(kPageHelp, [&] { page.emplace(pagePath); });
    explained(reportPath, [&] { report.emplace(reportPath); });
    if (specimens != nullptr) {
        explained(specimens->path, [&] { samplesPage.emplace(specimens->path); });
    }

    platform::sideBySide(
        [&] {
            writeReport(*report, from, reportPath);
            if (specimens != nullptr) {
                const samples_page::PageSource source{from.directory, from.rows,
                                                      specimens->context};
                explained(specimens->path,
                          [&] { samples_page::writeSamplesPage(*samplesPage, source); });
            }
        },
        [&] { writePage(*page, from); });
    if (specimens == nullptr) {
        const PendingFile files[] = {{*report, reportPath, reportPath},
                                     {*page, kPageHelp, pagePath}};
        putAllInPlace(files);
    } else {
        const PendingFile files[] = {{*report, reportPath, reportPath},
                                     {*samplesPage, specimens->path, specimens->path},
                                     {*page, kPageHelp, pagePath}};
        putAllInPlace(files);
    }
}

} // namespace fontlist::html_list
