#include "fontlist/ScannedFile.h"

#include <unordered_map>
#include <utility>

namespace fontlist {

void foldHardLinks(std::vector<ScannedFile>& files) {
    std::unordered_map<platform::fs::FileIdentity, std::size_t, platform::fs::FileIdentityHash>
        first;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        ScannedFile& file = files[i];
        // Not only files with several links: a symbolic link to a file listed too leads to it.
        if (file.opened) {
            const auto [place, added] = first.try_emplace(file.stamp.identity, kept);
            if (!added) {
                std::vector<std::string>& paths = files[place->second].paths;
                paths.insert(paths.end(), std::make_move_iterator(file.paths.begin()),
                             std::make_move_iterator(file.paths.end()));
                continue;
            }
        }
        if (kept != i) {
            files[kept] = std::move(file);
        }
        ++kept;
    }
    files.resize(kept);
}

} // namespace fontlist
