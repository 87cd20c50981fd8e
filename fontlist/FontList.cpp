#include "fontlist/FontList.h"

#include <cstddef>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "fontlist/FontRows.h"
#include "fontlist/HtmlListFiles.h"
#include "fontlist/SystemDirectories.h"
#include "platform/Failure.h"
#include "platform/PathText.h"
#include "platform/TemporaryFileCleanup.h"
#include "text/Text.h"

namespace fontlist {

namespace {

using html_list::RunFailure;
using text::kCrLf;

constexpr std::string_view kTitle = "Create HTML File With Friendly Font Names";
constexpr std::string_view kEmptyListTitle = "Create HTML friendly font list";

constexpr std::string_view kPageName = "_fonts.html";
constexpr std::string_view kReportName = "_report.txt";
constexpr std::string_view kSamplesPageName = "_specimens.html";

void showOk(Conversation& conversation, std::string_view title, std::string text,
            fontlist::MessageIcon icon) {
    conversation.show(
        fontlist::UserMessage{std::string(title), std::move(text), fontlist::Buttons::Ok, icon});
}

// The closing message; with no file unread and no specimen page, the window's own.
std::string createdText(const std::string& pagePath, const std::string& reportPath,
                        const std::string* samplesPagePath, std::size_t unread) {
    std::string text = "Created " + pagePath + std::string(kCrLf) + std::string(kCrLf) +
                       "Any possible font duplication issues can be found in" + std::string(kCrLf) +
                       reportPath;
    if (samplesPagePath != nullptr) {
        text::appendParagraph(text, "Every font is shown in its own face in" + std::string(kCrLf) +
                                        *samplesPagePath);
    }
    if (unread > 0) {
        text::appendParagraph(text, text::counted(unread, "font", "fonts") +
                                        " could not be read (no memory for it, or the file could "
                                        "not be opened); the list names each under \"error\" "
                                        "and the cause.");
    }
    return text;
}

BatchResult endedWith(RunEnd end) {
    BatchResult result;
    result.end = end;
    return result;
}

// A stop asked for during the lookups: nothing was written.
BatchResult stoppedAfter(Conversation& conversation, std::size_t lookedUp, std::size_t listed,
                         bool specimens) {
    conversation.showIdle();
    std::string text = "Stopped after " + text::groupedNumber(lookedUp) + " of " +
                       text::groupedNumber(listed) + " fonts.";
    const std::string files = specimens
                                  ? std::string(kPageName) + ", " + std::string(kReportName) +
                                        " and " + std::string(kSamplesPageName)
                                  : std::string(kPageName) + " and " + std::string(kReportName);
    text::appendParagraph(text, "The list was not written; " + files + " are as they were.");
    showOk(conversation, kTitle, std::move(text), fontlist::MessageIcon::None);
    return endedWith(RunEnd::Stopped);
}

// Whether the run may write into the listed folder; says why not where it may not.
bool mayWriteInto(Conversation& conversation, const BatchRequest& request,
                  const std::string& directory) {
    if (request.listing.names.empty()) {
        showOk(conversation, kEmptyListTitle, "Current directory contains no TrueType fonts.",
               fontlist::MessageIcon::None);
        return false;
    }
    if (liesInFontDirectory(directory, {}, request.folders.fonts)) {
        showOk(conversation, kTitle, "Action in the Windows Font directory is restricted.\r\n",
               fontlist::MessageIcon::Critical);
        return false;
    }
    return true;
}

// The page and its report, and the specimen page where it is asked for (at samplesPagePath).
void writeFiles(const html_list::ListFiles& from, const std::string& pagePath,
                const std::string& reportPath, const std::string* samplesPagePath,
                const BatchRequest& request) {
    if (samplesPagePath == nullptr) {
        html_list::writeFiles(from, pagePath, reportPath);
        return;
    }
    // The page's names are for people, whatever the HTML list's decoding.
    const html_list::SamplesFile specimens{
        *samplesPagePath,
        {*request.specimens, fontcore::NameDecoding::readableIn(request.language)}};
    html_list::writeFiles(from, pagePath, reportPath, &specimens);
}

// names: the listing's names where the run may take them over, else null (they are copied).
BatchResult run(Conversation& conversation, const BatchRequest& request, text::TextList* names) {
    const std::string directory = platform::path::withTrailingSeparator(request.listing.directory);
    if (!mayWriteInto(conversation, request, directory)) {
        return endedWith(RunEnd::Refused);
    }
    // What runs that were killed left of their files here goes before this one writes; the
    // folder is read for it beside the lookups, which read only fonts.
    std::future<void> swept = std::async(
        std::launch::async, [&directory] { platform::removeStaleTemporaryFiles(directory); });

    FontRows rows =
        lookUpRows(conversation, directory,
                   names != nullptr ? std::move(*names) : text::TextList(request.listing.names),
                   request.spaces, request.decoding);
    if (rows.lookedUp() < rows.size()) {
        swept.get();
        return stoppedAfter(conversation, rows.lookedUp(), rows.size(),
                            request.specimens.has_value());
    }
    conversation.showProgress("Sorting Font List (alphabetizing)...");
    const std::vector<GroupPlace> places = rows.sortByKey();
    swept.get();
    conversation.showProgress("Generating HTML file...");
    const std::string pagePath = directory + std::string(kPageName);
    const std::string reportPath = directory + std::string(kReportName);
    const std::string samplesPagePath = directory + std::string(kSamplesPageName);
    writeFiles({directory, rows, places}, pagePath, reportPath,
               request.specimens ? &samplesPagePath : nullptr, request);

    conversation.showIdle();
    const std::size_t unread = rows.unreadCount();
    showOk(
        conversation, kTitle,
        createdText(pagePath, reportPath, request.specimens ? &samplesPagePath : nullptr, unread),
        fontlist::MessageIcon::None);
    BatchResult result = endedWith(RunEnd::Finished);
    result.fontsIncomplete = unread;
    result.wroteIntoFolder = true;
    result.rows = std::move(rows);
    return result;
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

void reportFailure(Conversation& conversation, const platform::Failure& failure,
                   std::string_view explanation) noexcept {
    try {
        std::string text = failureText(failure);
        if (!explanation.empty()) {
            text += kCrLf;
            text += kCrLf;
            text += explanation;
        }
        conversation.showIdle();
        showOk(conversation, kTitle, std::move(text), fontlist::MessageIcon::Critical);
    } catch (...) {
        // Nothing can be shown: there is no one left to tell, and the run must not take the
        // window down with it.
    }
}

BatchResult writeFontListOf(Conversation& conversation, const BatchRequest& request,
                            text::TextList* names) {
    try {
        return run(conversation, request, names);
    } catch (const RunFailure& failure) {
        reportFailure(conversation, failure.failure, failure.explanation);
    } catch (...) {
        reportFailure(conversation, platform::currentFailure(), {});
    }
    return endedWith(RunEnd::Failed);
}

} // namespace

BatchResult writeFontList(Conversation& conversation, const BatchRequest& request) {
    return writeFontListOf(conversation, request, nullptr);
}

BatchResult writeFontList(Conversation& conversation, BatchRequest&& request) {
    return writeFontListOf(conversation, request, &request.listing.names);
}

void reportFontListFailure(Conversation& conversation, const platform::Failure& failure) noexcept {
    reportFailure(conversation, failure, {});
}

} // namespace fontlist
