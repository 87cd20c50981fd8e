#include "fontlist/CopySets.h"

#include <algorithm>
#include <utility>

namespace fontlist {

void CopySets::replace(const platform::fs::HeldDirectory& directory, const std::string& fontName,
                       std::vector<File> files) {
    std::vector<File>& set = sets_[fontName];
    for (const File& earlier : set) {
        const bool replaced = std::ranges::any_of(
            files, [&](const File& later) { return later.name == earlier.name; });
        if (!replaced) {
            directory.removeIf(earlier.name, earlier.identity);
        }
    }
    set = std::move(files);
}

} // namespace fontlist
