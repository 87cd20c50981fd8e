#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fontcore/OpenFontFile.h"
#include "fontlist/BatchState.h"
#include "fontlist/DuplicateGroups.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

// Writing the HTML list's two files, _fonts.html and _report.txt, and putting them in place
// together.
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

// What the lookups learnt of the files' lengths, by listed index: every file a lookup opened
// has its length from that open; a file that could not be opened has the failure, which its
// line in the report raises; a file of no type of ours was not opened, and its length is read
// when its line is written.
struct FileLengths {
    static constexpr std::uint64_t kNotOpened = UINT64_MAX;

    explicit FileLengths(std::size_t count) : bytes(count, kNotOpened) {}

    void take(std::size_t index, fontcore::FileLength&& length) {
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
        return bytes[index] != kNotOpened ? bytes[index] : platform::fs::fileLength(path);
    }

    std::vector<std::uint64_t> bytes;
    std::unordered_map<std::uint32_t, platform::Failure> failures;
};

// What the two files are made from: the sorted lists of the state (entries 0 to
// order.size() - 1; entry i was listed at order[i]), the duplicate groups' places in them,
// and the lengths the lookups learnt.
struct ListFiles {
    const BatchState& state;
    const std::vector<std::uint32_t>& order;
    const std::vector<GroupPlace>& places;
    const FileLengths& lengths;
};

// Writes both files, line by line as they are made, the report beside the page on a thread of
// its own. Each is written beside its target and both are put in place only once both are
// complete, so a run that fails leaves the earlier files as they were; a link at either name
// is replaced, not written through. Where both fail, the report's failure is the one raised
// (as a RunFailure).
void writeFiles(const ListFiles& from, const std::string& pagePath, const std::string& reportPath);

} // namespace fontlist::html_list
