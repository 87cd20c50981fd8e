#include "fontlist/HtmlFontList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fontlist/FullNameLookup.h"
#include "fontlist/QuickSort.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/ValidFileName.h"
#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/OrderedWorkPool.h"
#include "runtime/PathText.h"
#include "runtime/ProgramName.h"
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
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            --end;
        }
    }
    return text.substr(0, end);
}

// "?" and the listed name without its extension: "arial.ttf" -> "?arial".
std::string questionMarkForm(std::string_view listedName) {
    // Built by appending rather than as "?" + std::string(...): GCC 12 at -O3 sees a false
    // overlap in the inlined operator+ and raises -Wrestrict.
    std::string form(1, '?');
    form += withoutLastCharacters(listedName, 4);
    return form;
}

// The key of a file: its trimmed full name made fit for a file name, a failed lookup's error
// text included. The question-mark form marks a file as unread where that gives nothing, where
// the lookup overflowed (a ".ttf" file that is no TrueType font, say), and for a name the
// window's patterns can let through (".ttfx", say), which is not looked up, rather than give
// it some other file's key.
std::string keyOf(const std::string& path, std::string_view listedName, SpacesOption option) {
    const std::optional<runtime::FullName> fullName = lookUpFullName(path);
    if (!fullName || fullName->failedWith(runtime::FailureNumber::Overflow)) {
        return questionMarkForm(listedName);
    }
    std::string key = ValidFileName(runtime::text::trimSpaces(fullName->text()), option);
    if (key.empty()) {
        return questionMarkForm(listedName);
    }
    return key;
}

// A file's length as the report reads it, or the failure of reading it.
struct LengthRead {
    std::uint64_t length = 0;
    std::optional<runtime::Failure> failure;
};

std::string fileLine(const std::string& path, const LengthRead& read) {
    if (read.failure) {
        throw *read.failure;
    }
    return "  " + path + " (" + std::to_string(read.length) + " bytes)";
}

// The folded keys of the sorted entries, and for every entry whose key it shares with a
// neighbour (the report's groups) the length of its file. The lengths are read side by side,
// before anything is written; a length that cannot be read is kept as its failure, which
// the report raises when it comes to that file, as if it were read there.
struct ReportData {
    std::vector<std::string> folded;
    std::vector<LengthRead> lengths; // by entry; only the grouped ones are read
};

ReportData reportData(const BatchState& state, std::size_t count) {
    ReportData data;
    data.folded.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        data.folded.push_back(runtime::text::foldCaseUtf8(state.FontNames[i]));
    }
    std::vector<std::size_t> grouped;
    for (std::size_t i = 0; i < count; ++i) {
        if ((i > 0 && data.folded[i] == data.folded[i - 1]) ||
            (i + 1 < count && data.folded[i] == data.folded[i + 1])) {
            grouped.push_back(i);
        }
    }
    data.lengths.resize(count);
    runtime::inOrderParallel<LengthRead>(
        grouped.size(),
        [&](std::size_t g) {
            LengthRead read;
            try {
                read.length = runtime::fs::fileLength(state.FontFiles[grouped[g]]);
            } catch (const runtime::Failure& failure) {
                read.failure = failure;
            }
            return read;
        },
        [&](std::size_t g, LengthRead&& read) { data.lengths[grouped[g]] = std::move(read); });
    return data;
}

// How a byte is written into the page: as itself, as a character reference, or (in a link
// only) percent-encoded; a byte above 0x7F is kept in a link where it belongs to a valid UTF-8
// sequence and percent-encoded where it does not (a file name in Latin-1, say), so that the
// link leads back to the file's own bytes. One table look-up per byte; the runs between bytes
// that need more are copied whole.
enum ByteForm : std::uint8_t { AsItself, AsReference, PercentInLink, Utf8InLink };

constexpr std::array<ByteForm, 256> kByteForms = [] {
    std::array<ByteForm, 256> forms{};
    for (const unsigned char c : {'&', '<', '>', '"'}) {
        forms[c] = AsReference;
    }
    for (unsigned byte = 0; byte < 0x20; ++byte) {
        forms[byte] = PercentInLink;
    }
    // A browser reads "%", "#" and "?" as the start of an escape, a fragment and a query, and
    // "\\" in a file link as a separator: where it is not the system's separator (on Windows it
    // is, and stays), it is a character of a file name.
    for (const unsigned char c : {'%', '#', '?', '\x7F'}) {
        forms[c] = PercentInLink;
    }
    if (runtime::path::separator != '\\') {
        forms[static_cast<unsigned char>('\\')] = PercentInLink;
    }
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        forms[byte] = Utf8InLink;
    }
    return forms;
}();

// For each byte, whether it needs more than itself: in a link (bit 0) and in the text (bit 1).
constexpr std::array<std::uint8_t, 256> kNeedsEscape = [] {
    std::array<std::uint8_t, 256> needs{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        const ByteForm form = kByteForms[byte];
        needs[byte] =
            static_cast<std::uint8_t>((form != AsItself ? 1 : 0) | (form == AsReference ? 2 : 0));
    }
    return needs;
}();

std::string_view characterReference(char c) {
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return "&quot;";
    }
}

// Appends the text with the characters that need it written as character references and, in a
// link, the bytes that need it percent-encoded.
void appendEscaped(std::string& out, std::string_view text, bool inLink) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::uint8_t mask = inLink ? 1 : 2;
    const auto needs = [&text, mask](std::size_t i) {
        return kNeedsEscape[static_cast<unsigned char>(text[i])] & mask;
    };
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Eight bytes that need nothing are passed over in one step.
        while (text.size() - i >= 8 &&
               (needs(i) | needs(i + 1) | needs(i + 2) | needs(i + 3) | needs(i + 4) |
                needs(i + 5) | needs(i + 6) | needs(i + 7)) == 0) {
            i += 8;
        }
        if (i == text.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        const ByteForm form = kByteForms[byte];
        if (form == AsItself || (form != AsReference && !inLink)) {
            continue;
        }
        if (form == Utf8InLink) {
            if (const std::size_t length = runtime::utf8::sequenceAt(text, i); length > 0) {
                i += length - 1;
                continue;
            }
        }
        out.append(text, run, i - run);
        run = i + 1;
        if (form == AsReference) {
            out += characterReference(text[i]);
        } else {
            const char encoded[] = {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
            out.append(encoded, sizeof encoded);
        }
    }
    out.append(text, run);
}

// Writes both files from the sorted lists (entries 0 to count - 1). Each is written beside its
// target and both are put in place only once both are complete, so a run that fails leaves
// the earlier files as they were; a link at either name is replaced, not written through.
void writeFiles(const BatchState& state, std::size_t count, const std::string& pagePath,
                const std::string& reportPath) {
    std::optional<runtime::TextFileWriter> page;
    std::optional<runtime::TextFileWriter> report;
    explained(kPageHelp, [&] { page.emplace(pagePath); });
    explained(reportPath, [&] { report.emplace(reportPath); });

    const auto pageLine = [&](std::string_view line) {
        explained(kPageHelp, [&] { page->writeLine(line); });
    };
    const auto reportLine = [&](std::string_view line) {
        explained(reportPath, [&] { report->writeLine(line); });
    };
    const ReportData data = reportData(state, count);
    const auto reportFile = [&](std::size_t i) {
        std::string line;
        explained(state.FontFiles[i],
                  [&] { line = fileLine(state.FontFiles[i], data.lengths[i]); });
        reportLine(line);
    };

    pageLine("<HTML>");
    for (const std::string_view heading : kReportHeading) {
        reportLine(heading);
    }

    const std::vector<std::string>& keys = state.FontNames;
    const std::vector<std::string>& paths = state.FontFiles;
    // Keys are compared without regard to case, as folded once by reportData.
    bool inGroup = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0 || data.folded[i] != data.folded[i - 1]) {
            inGroup = false;
        } else {
            if (!inGroup) {
                reportLine(" ");
                reportLine(keys[i - 1]);
                reportFile(i - 1);
                inGroup = true;
            }
            reportFile(i);
        }
        pageLine(htmlLinkLine(paths[i], keys[i]));
    }

    reportLine(" ");
    reportLine("(end of report)");
    explained(reportPath, [&] { report->close(); });
    pageLine("</HTML>");
    explained(kPageHelp, [&] { page->close(); });

    // Both or neither: each is checked before either is replaced, and the report replaced
    // first is put back when the page cannot follow it.
    explained(reportPath, [&] { report->prepare(); });
    explained(kPageHelp, [&] { page->prepare(); });
    explained(reportPath, [&] { report->commitUndoably(); });
    try {
        explained(kPageHelp, [&] { page->commit(); });
    } catch (RunFailure& failure) {
        try {
            report->undo();
        } catch (const runtime::Failure& undoFailure) {
            failure.explanation += std::string(kCrLf) + std::string(kCrLf) + reportPath +
                                   " was written, and its earlier version could not be put "
                                   "back: " +
                                   undoFailure.cause();
        }
        throw;
    }
}

RunEnd run(BatchHost& host, BatchState& state, SpacesOption option) {
    host.refreshFileList();
    const int listed = host.fileListCount();
    if (listed <= 0) {
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

    const auto count = static_cast<std::size_t>(listed);
    state.FontFiles.assign(count + 1, std::string());
    state.FontNames.assign(count + 1, std::string());
    std::vector<std::string> listedNames(count);
    for (std::size_t i = 0; i < count; ++i) {
        listedNames[i] = host.fileListEntry(static_cast<int>(i));
        state.FontFiles[i] = state.CurrentDir + listedNames[i];
    }
    // The lookups only read their own files, so they run side by side; the countdown follows
    // them in the order of the list.
    runtime::inOrderParallel<std::string>(
        count, [&](std::size_t i) { return keyOf(state.FontFiles[i], listedNames[i], option); },
        [&](std::size_t i, std::string&& key) {
            state.FontNames[i] = std::move(key);
            host.showProgress(runtime::text::numberText(static_cast<std::int64_t>(count - i - 1)));
        });

    host.showProgress("Sorting Font List (alphabetizing)...");
    QuickSort(state.FontNames, state.FontFiles, 0, count - 1);

    swept.get();
    host.showProgress("Generating HTML file...");
    const std::string pagePath = state.CurrentDir + std::string(kPageName);
    const std::string reportPath = state.CurrentDir + std::string(kReportName);
    writeFiles(state, count, pagePath, reportPath);

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

RunEnd CreateHTMLFontList_Click(BatchHost& host, BatchState& state, SpacesOption option) {
    try {
        return run(host, state, option);
    } catch (const RunFailure& failure) {
        reportFailure(host, failure.failure, failure.explanation);
    } catch (...) {
        reportFailure(host, runtime::currentFailure(), {});
    }
    return RunEnd::Failed;
}

std::string htmlLinkLine(std::string_view path, std::string_view key) {
    std::string line;
    line.reserve(path.size() + key.size() + 32);
    line += "<A HREF=\"";
    appendEscaped(line, path, true);
    line += "\">";
    appendEscaped(line, key, false);
    line += "</A><BR>";
    return line;
}

} // namespace fontlist
