#include "cli/FolderBatch.h"

#include "platform/PathText.h"

#include <algorithm>

namespace cli {

bool FolderBatch::add(const platform::WalkedFolder& folder) {
    if (folder.files.empty()) {
        return false;
    }
    const auto index = static_cast<std::uint32_t>(folders_.size());
    // The list's copy shares the folder's names; only its entries are copied.
    folders_.push_back(Folder{
        folder.directory.duplicate(), folder.path, folder.files,
        static_cast<std::size_t>(std::ranges::count(folder.relative, platform::path::separator))});
    for (std::size_t i = 0; i < folder.files.size(); ++i) {
        folderOf_.push_back(index);
        indexInFolder_.push_back(static_cast<std::uint32_t>(i));
    }
    return folderOf_.size() >= kFiles || folders_.size() >= kFolders;
}

platform::ListedFile FolderBatch::file(std::size_t i, std::string& path) const {
    const std::string& folderPath = this->folderPath(i);
    path.assign(folderPath);
    path += name(i);
    return {directory(i), path, path.c_str() + folderPath.size()};
}

void FolderBatch::clear() noexcept {
    folders_.clear();
    folderOf_.clear();
    indexInFolder_.clear();
}

} // namespace cli
