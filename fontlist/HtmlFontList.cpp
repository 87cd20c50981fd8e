#include "fontlist/HtmlFontList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fontcore/OpenFontFile.h"
#include "fontlist/DuplicateGroups.h"
#include "fontlist/FontTypes.h"
#include "fontlist/HtmlListFiles.h"
#include "fontlist/ProgramName.h"
#include "fontlist/QuickSort.h"
#include "fontlist/SystemDirectories.h"
#include "fontlist/UnreadFont.h"
#include "fontlist/ValidFileName.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/OrderedWorkPool.h"
#include "platform/PathText.h"
#include "platform/SideBySide.h"
#include "platform/TemporaryFileCleanup.h"
#include "text/Text.h"
#include "text/Utf8.h"

namespace fontlist {

namespace {

using html_list::explained;
using html_list::FileLengths;
using html_list::RunFailure;

constexpr std::string_view kTitle = "Create HTML File With Friendly Font Names";
constexpr std::string_view kEmptyListTitle = "Create HTML friendly font list";
using fontlist::kProgramName;
using text::kCrLf;

constexpr std::string_view kPageName = "_fonts.html";
constexpr std::string_view kReportName = "_report.txt";

void showOk(BatchHost& host, std::string_view title, std::string text, fontlist::MessageIcon icon) {
    host.show(
        fontlist::UserMessage{std::string(title), std::move(text), fontlist::Buttons::Ok, icon});
}

// The text without its last count characters (UTF-8 sequences, not bytes).
std::string_view withoutLastCharacters(std::string_view text, int count) {
    std::size_t end = text.size();
    for (int dropped = 0; dropped < count && end > 0; ++dropped) {
        --end;
        while (end > 0 && text::utf8::isContinuation(static_cast<unsigned char>(text[end]))) {
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

// What one lookup gives the run.
struct Lookup {
    std::string key;
    fontcore::FileLength length{.bytes = FileLengths::kNotOpened};
    bool unread = false; // the file could not be read: its key is the failure's text
};

// The key of a file: its trimmed full name made fit for a file name, a failed lookup's error
// text included. The question-mark form marks a file as unread where that gives nothing, where
// the lookup overflowed (a ".ttf" file that is no TrueType font, say), and for a name the
// window's patterns can let through (".ttfx", say), which is not looked up, rather than give
// it some other file's key.
void lookUp(Lookup& lookup, const platform::ListedFile& file, std::string_view listedName,
            SpacesOption option, fontcore::NameDecoding decoding) {
    const std::optional<fontcore::FullName> fullName =
        nameAndLengthOf(file, lookup.length, decoding);
    if (!fullName || fullName->failedWith(platform::FailureNumber::Overflow)) {
        lookup.key = questionMarkForm(listedName);
        return;
    }
    lookup.unread = fullName->failure && couldNotBeRead(*fullName->failure);
    // The name itself where the lookup succeeded, without a copy of it.
    const std::string failureText = fullName->failure ? fullName->text() : std::string();
    const std::string_view text = fullName->failure ? failureText : fullName->name;
    lookup.key = ValidFileName(text::withoutOuterSpaces(text), option);
    if (lookup.key.empty()) {
        lookup.key = questionMarkForm(listedName);
    }
}

// The lookups run side by side in slices of this many files, so that what waits to be taken
// in order stays small however many files there are.
constexpr std::size_t kLookupSlice = 16384;

// Looks up the key of every listed file (state.FontFiles) into state.FontNames, in the order of
// the list, counting down. Returns how many files could not be read.
std::size_t lookUpAll(BatchHost& host, BatchState& state, FileLengths& lengths, SpacesOption option,
                      fontcore::NameDecoding decoding) {
    const text::TextList& names = state.FontFiles;
    const std::size_t count = names.size();
    std::size_t unread = 0;
    // The fonts are opened relative to their directory, held open for the run.
    const platform::ListingDirectory directory(state.CurrentDir);
    // The lookups only read their own files, so they run side by side; the countdown follows
    // them in the order of the list.
    for (std::size_t from = 0; from < count; from += kLookupSlice) {
        platform::inOrderParallel<Lookup>(
            std::min(kLookupSlice, count - from),
            [&](std::size_t j) {
                const std::string_view name = names[from + j];
                thread_local std::string path; // reused by each thread's lookups
                path.assign(state.CurrentDir);
                path += name;
                const platform::ListedFile file{directory, path,
                                                path.c_str() + state.CurrentDir.size()};
                Lookup lookup;
                lookUp(lookup, file, name, option, decoding);
                return lookup;
            },
            [&](std::size_t j, Lookup&& lookup) {
                const std::size_t i = from + j;
                state.FontNames.push_back(lookup.key);
                lengths.take(i, std::move(lookup.length));
                unread += lookup.unread ? 1 : 0;
                host.showProgress(text::numberText(static_cast<std::int64_t>(count - i - 1)));
            });
    }
    return unread;
}

// Sorts both lists by key without regard to case; the entry after the last stays empty.
// Returns the sorted entries' listed places and their duplicate groups.
std::pair<std::vector<std::uint32_t>, std::vector<GroupPlace>> sortByKey(BatchState& state) {
    std::vector<std::uint32_t> order;
    std::vector<GroupPlace> places;
    {
        // Each key is folded once; the sort moves indices, not texts.
        text::TextList folded;
        folded.reserve(state.FontNames.size());
        for (std::size_t i = 0; i < state.FontNames.size(); ++i) {
            const std::string_view key = state.FontNames[i];
            text::foldCaseInPlace(folded.append(key), key.size());
        }
        order = quickSortOrder(folded);
        places = findGroupPlaces(folded, order);
    }
    platform::sideBySide(
        [&] {
            state.FontNames.reorder(order);
            state.FontNames.push_back({});
        },
        [&] {
            state.FontFiles.reorder(order);
            state.FontFiles.push_back({});
        });
    return {std::move(order), std::move(places)};
}

// The closing message; with no file unread, the window's own.
std::string createdText(const std::string& pagePath, const std::string& reportPath,
                        std::size_t unread) {
    std::string text = "Created " + pagePath + std::string(kCrLf) + std::string(kCrLf) +
                       "Any possible font duplication issues can be found in" + std::string(kCrLf) +
                       reportPath;
    if (unread > 0) {
        text += kCrLf;
        text += kCrLf;
        text += std::to_string(unread) + (unread == 1 ? " font" : " fonts") +
                " could not be read (no memory for it, or the file could not be opened); the "
                "list names each under \"error\" and the cause.";
    }
    return text;
}

BatchOutcome run(BatchHost& host, BatchState& state, SpacesOption option,
                 fontcore::NameDecoding decoding) {
    host.refreshFileList();
    text::TextList listed = host.fileListNames();
    if (listed.empty()) {
        showOk(host, kEmptyListTitle, "Current directory contains no TrueType fonts.",
               fontlist::MessageIcon::None);
        host.disableBatchButtons();
        return {RunEnd::Refused};
    }

    state.CurrentDir = platform::path::withTrailingSeparator(host.fileListDirectory());
    if (liesInFontDirectory(state.CurrentDir, {}, state.FontsDir)) {
        showOk(host, kTitle, "Action in the Windows Font directory is restricted.\r\n",
               fontlist::MessageIcon::Critical);
        return {RunEnd::Refused};
    }

    // What runs that were killed left of their files here goes before this one writes; the
    // folder is read for it beside the lookups, which read only fonts.
    std::future<void> swept = std::async(std::launch::async, [directory = state.CurrentDir] {
        platform::removeStaleTemporaryFiles(directory);
    });

    // FontFiles holds the listed names (sorted with the keys at the end), FontNames the keys.
    state.FontFiles = std::move(listed);
    state.FontNames.clear();
    state.FontNames.reserve(listEntriesFor(state.FontFiles.size()));
    FileLengths lengths(state.FontFiles.size());
    const std::size_t unread = lookUpAll(host, state, lengths, option, decoding);

    host.showProgress("Sorting Font List (alphabetizing)...");
    const auto [order, places] = sortByKey(state);

    swept.get();
    host.showProgress("Generating HTML file...");
    const std::string pagePath = state.CurrentDir + std::string(kPageName);
    const std::string reportPath = state.CurrentDir + std::string(kReportName);
    html_list::writeFiles({state, order, places, lengths}, pagePath, reportPath);

    host.showProgress(std::string(kProgramName));
    showOk(host, kTitle, createdText(pagePath, reportPath, unread), fontlist::MessageIcon::None);
    return {RunEnd::Finished, unread};
}

// The failure's description; for failure 75, which many causes share, with the cause where the
// system or the program named one ("Too many open files").
std::string failureText(const platform::Failure& failure) {
    std::string text = failure.description();
    if (failure.is(platform::FailureNumber::PathFileAccess)) {
        if (std::string cause = failure.cause(); cause != text) {
            text += ": ";
            text += cause;
        }
    }
    return text;
}

void reportFailure(BatchHost& host, const platform::Failure& failure,
                   std::string_view explanation) noexcept {
    try {
        std::string text = failureText(failure);
        if (!explanation.empty()) {
            text += kCrLf;
            text += kCrLf;
            text += explanation;
        }
        host.showProgress(std::string(kProgramName));
        showOk(host, kTitle, std::move(text), fontlist::MessageIcon::Critical);
    } catch (...) {
        // The host cannot show anything: there is no one left to tell, and the run must not
        // take the window down with it.
    }
}

} // namespace

BatchOutcome CreateHTMLFontList_Click(BatchHost& host, BatchState& state, SpacesOption option,
                                      fontcore::NameDecoding decoding) {
    try {
        return run(host, state, option, decoding);
    } catch (const RunFailure& failure) {
        reportFailure(host, failure.failure, failure.explanation);
    } catch (...) {
        reportFailure(host, platform::currentFailure(), {});
    }
    return {RunEnd::Failed};
}

} // namespace fontlist
