#include "cli/FolderBatch.h"

namespace cli {

bool FolderBatch::add(const platform::WalkedFolder& folder) {
    if (folder.files.empty()) {
        return false;
    }
    const auto index = static_cast<std::uint32_t>(folders_.size());
    // The list's copy shares the folder's names; only its entries are copied.
    folders_.push_back(Folder{folder.directory.duplicate(), folder.path, folder.files});
    for (std::size_t i = 0; i < folder.files.size(); ++i) {
        folderOf_.push_back(index);
        indexInFolder_.push_back(static_cast<std::uint32_t>(i));
    }
    return folderOf_.size() >= kFiles || folders_.size() >= kFolders;
}

void FolderBatch::clear() noexcept {
    folders_.clear();
    folderOf_.clear();
    indexInFolder_.clear();
}

} // namespace cli
