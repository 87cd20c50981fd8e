#include "platform/FolderWalk.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/DirectoryListing.h"
#include "platform/FileIdentity.h"
#include "platform/NativePath.h"
#include "platform/PathText.h"

namespace platform {

namespace {

// The walk by paths: Windows opens nothing relative to a folder held open, so each folder is
// listed by its path (a tree deeper than the system's paths reach is told as lost there).
class Walk {
public:
    Walk(std::string_view patterns, const WalkOptions& options, FolderVisitor& visitor)
        : patterns_(patterns), options_(options), visitor_(visitor) {}

    bool run(const std::string& top) {
        const std::string path = path::withTrailingSeparator(top.empty() ? "." : top);
        topLength_ = path.size();
        walk(path, true);
        return complete_;
    }

private:
    void tell(const std::string& path, std::string cause, bool lost) {
        complete_ = complete_ && !lost;
        std::string shownPath = path;
        if (shownPath.size() > 1 && shownPath.back() == path::separator) {
            shownPath.pop_back();
        }
        visitor_.trouble(WalkTrouble{shownPath, std::move(cause), lost});
    }

    bool walkedHere(const std::string& path, bool isTop) {
        if (!options_.followLinks && !options_.oneFileSystem) {
            return true;
        }
        const std::optional<fs::FileIdentity> identity = fs::identityOf(path);
        if (!identity) {
            return true; // the listing below tells what is wrong with it
        }
        if (isTop) {
            topDevice_ = identity->device;
        } else if (options_.oneFileSystem && identity->device != topDevice_) {
            return false;
        }
        if (options_.followLinks) {
            const auto [walked, first] = walked_.try_emplace(*identity, path);
            if (!first) {
                tell(path,
                     "leads back to a folder already walked ('" + walked->second +
                         "'); not walked again",
                     false);
                return false;
            }
        }
        return true;
    }

    void walk(const std::string& path, bool isTop) {
        if (!walkedHere(path, isTop)) {
            return;
        }
        std::error_code error;
        if (std::filesystem::directory_iterator(path::native(path), error); error) {
            tell(path, error.message(), true);
            return;
        }
        const std::vector<std::string> folders = listSubdirectories(path);
        {
            const ListingDirectory directory(path);
            const text::TextList files = listMatchingFileNames(path, patterns_);
            const std::string_view relative = std::string_view(path).substr(topLength_);
            visitor_.visit(WalkedFolder{directory, path, relative, files});
        }
        for (const std::string& name : folders) {
            const std::string below = path::withTrailingSeparator(path + name);
            if (!options_.followLinks &&
                std::filesystem::is_symlink(path::native(path + name), error)) {
                continue; // links to folders are walked only when followed
            }
            walk(below, false);
        }
    }

    std::string patterns_;
    WalkOptions options_;
    FolderVisitor& visitor_;
    std::size_t topLength_ = 0;
    std::uint64_t topDevice_ = 0;
    std::unordered_map<fs::FileIdentity, std::string, fs::FileIdentityHash> walked_;
    bool complete_ = true;
};

} // namespace

bool walkFolders(const std::string& top, std::string_view patterns, const WalkOptions& options,
                 FolderVisitor& visitor) {
    Walk walk(patterns, options, visitor);
    return walk.run(top);
}

} // namespace platform
