#include "fontlist/HtmlFontList.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fontlist/DuplicateGroups.h"
#include "fontlist/FontTypes.h"
#include "fontlist/HtmlLinkLine.h"
#include "fontlist/QuickSort.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/ValidFileName.h"
#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/OpenFontFile.h"
#include "runtime/OrderedWorkPool.h"
#include "runtime/PathText.h"
#include "runtime/ProgramName.h"
#include "runtime/SideBySide.h"
#include "runtime/TemporaryFileCleanup.h"
#include "runtime/Text.h"
#include "runtime/TextFileWriter.h"
#include "runtime/Utf8.h"

namespace fontlist {

namespace {

constexpr std::string_view kTitle = "Create HTML File With Friendly Font Names";
constexpr std::string_view kEmptyListTitle = "Create HTML friendly font list";
using runtime::kProgramName;
using runtime::text::kCrLf;

constexpr std::string_view kPageName = "_fonts.html";
constexpr std::string_view kReportName = "_report.txt";

// Shown with any failure to create or write the page.
constexpr std::string_view kPageHelp =
    "This attempts to create a file called _fonts.html in the current.\r\n"
    "directory. If _fonts.html already exists, make sure it is not read-only";

constexpr std::array<std::string_view, 6> kReportHeading = {
    "These following files result in duplicate font names.",
    "Fonts of the same type and with the same full font name",
    "will over-write each other when the rename feature of",
    "this application is used. Use the following list to",
    "manually resolve any potential naming conflicts,",
    "prior to renaming them:",
};

// A failure of the run, with the lines that tell the user what it concerned.
struct RunFailure {
    runtime::Failure failure;
    std::string explanation;
};

// Runs an action; a failure it raises becomes a RunFailure with the given explanation.
template <typename Action>
void explained(std::string_view explanation, Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const runtime::Failure& failure) {
        throw RunFailure{failure, std::string(explanation)};
    }
}

void showOk(BatchHost& host, std::string_view title, std::string text, runtime::MessageIcon icon) {
    host.show(
        runtime::UserMessage{std::string(title), std::move(text), runtime::Buttons::Ok, icon});
}

// The text without its last count characters (UTF-8 sequences, not bytes).
std::string_view withoutLastCharacters(std::string_view text, int count) {
    std::size_t end = text.size();
    for (int dropped = 0; dropped < count && end > 0; ++dropped) {
        --end;
        while (end > 0 && runtime::utf8::isContinuation(static_cast<unsigned char>(text[end]))) {
            --end;
        }
    }
    return text.substr(0, end);
}

// "?" and the listed name without its extension: "arial.ttf" -> "?arial", "x.t1" -> "?x". A
// name of no type of ours loses its last four characters ("a.ttfx" -> "?a.").
std::string questionMarkForm(std::string_view listedName) {
    const std::string_view extension = fontExtensionOf(listedName);
    // Built by appending rather than as "?" + std::string(...): GCC 12 at -O3 sees a false
    // overlap in the inlined operator+ and raises -Wrestrict.
    std::string form(1, '?');
    form += extension.empty() ? withoutLastCharacters(listedName, 4)
                              : listedName.substr(0, listedName.size() - extension.size());
    return form;
}

// The key of a file: its trimmed full name made fit for a file name, a failed lookup's error
// text included. The question-mark form marks a file as unread where that gives nothing, where
// the lookup overflowed (a ".ttf" file that is no TrueType font, say), and for a name the
// window's patterns can let through (".ttfx", say), which is not looked up, rather than give
// it some other file's key.
std::string keyOf(const runtime::ListedFile& file, std::string_view listedName, SpacesOption option,
                  runtime::FileLength& length, runtime::NameDecoding decoding) {
    const std::optional<runtime::FullName> fullName = nameAndLengthOf(file, length, decoding);
    if (!fullName || fullName->failedWith(runtime::FailureNumber::Overflow)) {
        return questionMarkForm(listedName);
    }
    // The name itself where the lookup succeeded, without a copy of it.
    const std::string failureText = fullName->failure ? fullName->text() : std::string();
    const std::string_view text = fullName->failure ? failureText : fullName->name;
    std::string key = ValidFileName(runtime::text::withoutOuterSpaces(text), option);
    if (key.empty()) {
        return questionMarkForm(listedName);
    }
    return key;
}

// What the lookups learnt of the files' lengths, by listed index: every file a lookup opened
// has its length from that open; a file that could not be opened has the failure, which its
// line in the report raises; a file of no type of ours was not opened, and its length is read
// when its line is written.
struct FileLengths {
    static constexpr std::uint64_t kNotOpened = UINT64_MAX;

    explicit FileLengths(std::size_t count) : bytes(count, kNotOpened) {}

    void take(std::size_t index, runtime::FileLength&& length) {
        if (length.failure) {
            failures.emplace(static_cast<std::uint32_t>(index), std::move(*length.failure));
        } else if (length.bytes != kNotOpened) {
            bytes[index] = length.bytes;
        }
    }

    std::uint64_t of(std::size_t index, const std::string& path) const {
        if (const auto failed = failures.find(static_cast<std::uint32_t>(index));
            failed != failures.end()) {
            throw failed->second;
        }
        return bytes[index] != kNotOpened ? bytes[index] : runtime::fs::fileLength(path);
    }

    std::vector<std::uint64_t> bytes;
    std::unordered_map<std::uint32_t, runtime::Failure> failures;
};

// Both or neither: each is checked before either is replaced, and the report replaced first is
// put back when the page cannot follow it.
void putBothInPlace(runtime::TextFileWriter& report, runtime::TextFileWriter& page,
                    const std::string& reportPath) {
    explained(reportPath, [&] { report.prepare(); });
    explained(kPageHelp, [&] { page.prepare(); });
    explained(reportPath, [&] { report.commitUndoably(); });
    try {
        explained(kPageHelp, [&] { page.commit(); });
    } catch (RunFailure& failure) {
        try {
            report.undo();
        } catch (const runtime::Failure& undoFailure) {
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

// Writes the page's lines from the sorted lists and closes it.
void writePage(runtime::TextFileWriter& page, const BatchState& state, std::size_t count,
               runtime::NameDecoding decoding) {
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
    constexpr runtime::ParallelLimits kProcessorsOnly{.slowWork = std::chrono::hours(24)};

    pageLine("<HTML>");
    if (decoding == runtime::NameDecoding::Unicode) {
        // Names in any script: the browser is told the page's encoding rather than left to
        // guess it.
        pageLine("<META CHARSET=\"UTF-8\">");
    }
    const std::size_t pieces = (count + kPagePiece - 1) / kPagePiece;
    for (std::size_t first = 0; first < pieces; first += kPageSlice) {
        runtime::inOrderParallel<std::string>(
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

// Writes the report's lines (entry i of the sorted lists was listed at order[i]) and closes it.
void writeReport(runtime::TextFileWriter& report, const BatchState& state,
                 const std::vector<std::uint32_t>& order, const std::vector<GroupPlace>& places,
                 const FileLengths& lengths, const std::string& reportPath) {
    const auto reportLine = [&](std::string_view line) {
        explained(reportPath, [&] { report.writeLine(line); });
    };
    SortedPaths pathOf(state);
    std::string line; // reused for every entry
    const auto reportFile = [&](std::size_t i) {
        const std::string& filePath = pathOf(i);
        explained(filePath, [&] {
            const std::uint64_t bytes = lengths.of(order[i], filePath);
            line.assign("  ");
            line += filePath;
            line += " (";
            line += std::to_string(bytes);
            line += " bytes)";
        });
        reportLine(line);
    };
    for (const std::string_view heading : kReportHeading) {
        reportLine(heading);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (places[i] == GroupPlace::Later) {
            if (places[i - 1] == GroupPlace::First) {
                reportLine(" ");
                reportLine(state.FontNames[i - 1]);
                reportFile(i - 1);
            }
            reportFile(i);
        }
    }
    reportLine(" ");
    reportLine("(end of report)");
    explained(reportPath, [&] { report.close(); });
}

// Writes both files from the sorted lists (entries 0 to count - 1; entry i was listed at
// order[i]), line by line as they are made, the report beside the page on a thread of its
// own. Each is written beside its target and both are put in place only once both are
// complete, so a run that fails leaves the earlier files as they were; a link at either name
// is replaced, not written through. Where both fail, the report's failure is the one raised.
void writeFiles(const BatchState& state, const std::vector<std::uint32_t>& order,
                const std::vector<GroupPlace>& places, const FileLengths& lengths,
                const std::string& pagePath, const std::string& reportPath,
                runtime::NameDecoding decoding) {
    std::optional<runtime::TextFileWriter> page;
    std::optional<runtime::TextFileWriter> report;
    explained(kPageHelp, [&] { page.emplace(pagePath); });
    explained(reportPath, [&] { report.emplace(reportPath); });

    runtime::sideBySide([&] { writeReport(*report, state, order, places, lengths, reportPath); },
                        [&] { writePage(*page, state, order.size(), decoding); });
    putBothInPlace(*report, *page, reportPath);
}

// The lookups run side by side in slices of this many files, so that what waits to be taken
// in order stays small however many files there are.
constexpr std::size_t kLookupSlice = 16384;

// What one lookup gives the run.
struct Lookup {
    std::string key;
    runtime::FileLength length{.bytes = FileLengths::kNotOpened};
};

RunEnd run(BatchHost& host, BatchState& state, SpacesOption option,
           runtime::NameDecoding decoding) {
    host.refreshFileList();
    runtime::TextList listed = host.fileListNames();
    if (listed.empty()) {
        showOk(host, kEmptyListTitle, "Current directory contains no TrueType fonts.",
               runtime::MessageIcon::None);
        host.disableBatchButtons();
        return RunEnd::Refused;
    }

    state.CurrentDir = runtime::path::withTrailingSeparator(host.fileListDirectory());
    if (liesInFontDirectory(state.CurrentDir, {}, state.FontsDir)) {
        showOk(host, kTitle, "Action in the Windows Font directory is restricted.\r\n",
               runtime::MessageIcon::Critical);
        return RunEnd::Refused;
    }

    // What runs that were killed left of their files here goes before this one writes; the
    // folder is read for it beside the lookups, which read only fonts.
    std::future<void> swept = std::async(std::launch::async, [directory = state.CurrentDir] {
        runtime::removeStaleTemporaryFiles(directory);
    });

    // FontFiles holds the listed names (sorted with the keys at the end), FontNames the keys.
    state.FontFiles = std::move(listed);
    state.FontNames.clear();
    const runtime::TextList& names = state.FontFiles;
    const std::size_t count = names.size();
    state.FontNames.reserve(listEntriesFor(count));
    FileLengths lengths(count);
    // The fonts are opened relative to their directory, held open for the run.
    const runtime::ListingDirectory directory(state.CurrentDir);
    // The lookups only read their own files, so they run side by side; the countdown follows
    // them in the order of the list.
    for (std::size_t from = 0; from < count; from += kLookupSlice) {
        runtime::inOrderParallel<Lookup>(
            std::min(kLookupSlice, count - from),
            [&](std::size_t j) {
                const std::string_view name = names[from + j];
                thread_local std::string path; // reused by each thread's lookups
                path.assign(state.CurrentDir);
                path += name;
                const runtime::ListedFile file{directory, path,
                                               path.c_str() + state.CurrentDir.size()};
                Lookup lookup;
                lookup.key = keyOf(file, name, option, lookup.length, decoding);
                return lookup;
            },
            [&](std::size_t j, Lookup&& lookup) {
                const std::size_t i = from + j;
                state.FontNames.push_back(lookup.key);
                lengths.take(i, std::move(lookup.length));
                host.showProgress(
                    runtime::text::numberText(static_cast<std::int64_t>(count - i - 1)));
            });
    }

    host.showProgress("Sorting Font List (alphabetizing)...");
    std::vector<std::uint32_t> order;
    std::vector<GroupPlace> places;
    {
        // Each key is folded once; the sort moves indices, not texts.
        runtime::TextList folded;
        folded.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string_view key = state.FontNames[i];
            runtime::text::foldCaseInPlace(folded.append(key), key.size());
        }
        order = quickSortOrder(folded);
        places = findGroupPlaces(folded, order);
    }
    // The entry after the last stays empty.
    runtime::sideBySide(
        [&] {
            state.FontNames.reorder(order);
            state.FontNames.push_back({});
        },
        [&] {
            state.FontFiles.reorder(order);
            state.FontFiles.push_back({});
        });

    swept.get();
    host.showProgress("Generating HTML file...");
    const std::string pagePath = state.CurrentDir + std::string(kPageName);
    const std::string reportPath = state.CurrentDir + std::string(kReportName);
    writeFiles(state, order, places, lengths, pagePath, reportPath, decoding);

    host.showProgress(std::string(kProgramName));
    showOk(host, kTitle,
           "Created " + pagePath + std::string(kCrLf) + std::string(kCrLf) +
               "Any possible font duplication issues can be found in" + std::string(kCrLf) +
               reportPath,
           runtime::MessageIcon::None);
    return RunEnd::Finished;
}

void reportFailure(BatchHost& host, const runtime::Failure& failure,
                   std::string_view explanation) noexcept {
    try {
        std::string text = failure.description();
        if (!explanation.empty()) {
            text += kCrLf;
            text += kCrLf;
            text += explanation;
        }
        host.showProgress(std::string(kProgramName));
        showOk(host, kTitle, std::move(text), runtime::MessageIcon::Critical);
    } catch (...) {
        // The host cannot show anything: there is no one left to tell, and the run must not
        // take the window down with it.
    }
}

} // namespace

RunEnd CreateHTMLFontList_Click(BatchHost& host, BatchState& state, SpacesOption option,
                                runtime::NameDecoding decoding) {
    try {
        return run(host, state, option, decoding);
    } catch (const RunFailure& failure) {
        reportFailure(host, failure.failure, failure.explanation);
    } catch (...) {
        reportFailure(host, runtime::currentFailure(), {});
    }
    return RunEnd::Failed;
}

} // namespace fontlist
