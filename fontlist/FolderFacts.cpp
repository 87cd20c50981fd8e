#include "fontlist/FolderFacts.h"

#include "platform/OrderedWorkPool.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace fontlist {

namespace {

// The files read in one go: the results waiting to be written are bounded by it, not by the
// folder.
constexpr std::size_t kSlice = 4096;

struct FileRows {
    std::string text;
    bool read = true;
};

} // namespace

bool listFolderFacts(const platform::ListingDirectory& directory, std::string_view shownPrefix,
                     const text::TextList& names, const FactsOptions& options,
                     const std::function<void(std::string_view rows)>& write) {
    bool allRead = true;
    for (std::size_t from = 0; from < names.size(); from += kSlice) {
        platform::inOrderParallel<FileRows>(
            std::min(kSlice, names.size() - from),
            [&](std::size_t j) {
                thread_local std::string path; // reused by each thread's lookups
                path.assign(shownPrefix);
                path += names[from + j];
                const platform::ListedFile file{directory, path, path.c_str() + shownPrefix.size()};
                FileRows rows;
                rows.read =
                    appendFileRows(rows.text, options, path, fileFactsOf(file, options.decoding));
                return rows;
            },
            [&](std::size_t, FileRows&& rows) {
                allRead = allRead && rows.read;
                write(rows.text);
            });
    }
    return allRead;
}

} // namespace fontlist
