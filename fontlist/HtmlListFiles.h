#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fontlist/DuplicateGroups.h"
#include "fontlist/FaceBlocks.h"
#include "fontlist/FontRows.h"
#include "platform/Failure.h"

// Writing the HTML list's files, _fonts.html and _report.txt (and _specimens.html where it is
// asked for), and putting them in place together.
namespace fontlist::html_list {

// Shown with any failure to create or write the page.
inline constexpr std::string_view kPageHelp =
    "This attempts to create a file called _fonts.html in the current.\r\n"
    "directory. If _fonts.html already exists, make sure it is not read-only";

// A failure of the run, with the lines that tell the user what it concerned.
struct RunFailure {
    platform::Failure failure;
    std::string explanation;
};

// Runs an action; a failure it raises becomes a RunFailure with the given explanation.
template <typename Action>
void explained(std::string_view explanation, Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const platform::Failure& failure) {
        throw RunFailure{failure, std::string(explanation)};
    }
}

// What the two files are made from: the rows sorted by key, the places of the rows in their
// groups of equal keys, and the directory of the files with its trailing separator.
struct ListFiles {
    const std::string& directory;
    const FontRows& rows;
    const std::vector<GroupPlace>& places;
};

// The specimen page, where it is asked for: its path and what its blocks are made with.
struct SamplesFile {
    const std::string& path;
    samples_page::BlockContext context;
};

// Writes both files (and the specimen page where it is given), line by line as they are made,
// the report (then the specimen page) beside the page on a thread of its own. Each is written
// beside its target and all are put in place only once all are complete, so a run that fails
// leaves the earlier files as they were; a link at any of the names is replaced, not written
// through. Where both threads fail, the report's or the specimen page's failure is the one
// raised (as a RunFailure).
void writeFiles(const ListFiles& from, const std::string& pagePath, const std::string& reportPath,
                const SamplesFile* specimens = nullptr);

} // namespace fontlist::html_list
