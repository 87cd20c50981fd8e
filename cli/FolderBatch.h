#pragma once

#include "platform/FolderWalk.h"
#include "platform/FontFileReader.h"
#include "text/TextList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The files of walked folders gathered across folders, so that their lookups run side by side
// over many small folders at once rather than start the threads again for every folder. Each
// folder is held by a descriptor of its own until the batch is cleared; the batch says it is
// full after so many files, or so many folders, that neither memory nor descriptors pile up.
class FolderBatch {
public:
    static constexpr std::size_t kFiles = 4096;
    static constexpr std::size_t kFolders = 64;

    // Takes the folder's files in; whether the batch is now full.
    bool add(const platform::WalkedFolder& folder);

    std::size_t size() const noexcept { return folderOf_.size(); }
    bool empty() const noexcept { return folderOf_.empty(); }

    // File i of the batch, in the walk's order: its folder held open, the folder's path (with
    // its trailing separator), and its name there.
    const platform::ListingDirectory& directory(std::size_t i) const {
        return folders_[folderOf_[i]].directory;
    }
    const std::string& folderPath(std::size_t i) const { return folders_[folderOf_[i]].path; }
    std::string_view name(std::size_t i) const {
        return folders_[folderOf_[i]].files[indexInFolder_[i]];
    }
    // How many folders below the top of the walk file i lies.
    std::size_t depth(std::size_t i) const { return folders_[folderOf_[i]].depth; }

    // File i to open: its path (the folder's path and its name) is built in path, which must
    // outlive the use of the file.
    platform::ListedFile file(std::size_t i, std::string& path) const;

    // Lets every folder go.
    void clear() noexcept;

private:
    struct Folder {
        platform::ListingDirectory directory;
        std::string path;
        text::TextList files;
        std::size_t depth = 0;
    };
    std::vector<Folder> folders_;
    std::vector<std::uint32_t> folderOf_;      // for each file, its folder
    std::vector<std::uint32_t> indexInFolder_; // and its place there
};

} // namespace cli
