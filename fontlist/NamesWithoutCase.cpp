#include "fontlist/NamesWithoutCase.h"

#include "platform/DirectoryListing.h"
#include "text/Text.h"

namespace fontlist {

std::optional<std::string> NamesWithoutCase::find(const std::string& directory,
                                                  std::string_view name) {
    if (directory_ != directory) {
        byFoldedName_.clear();
        for (std::string& listed : platform::listMatchingFiles(directory, patterns_)) {
            const auto [entry, added] =
                byFoldedName_.try_emplace(text::foldCaseUtf8(listed), listed);
            if (!added) {
                entry->second.reset();
            }
        }
        directory_ = directory;
    }
    const auto found = byFoldedName_.find(text::foldCaseUtf8(name));
    return found == byFoldedName_.end() ? std::nullopt : found->second;
}

} // namespace fontlist
