#pragma once

#include <string>
#include <string_view>

#include "platform/FontFileReader.h"
#include "text/TextList.h"

namespace platform {

// How a walk of a folder tree treats links to folders and other file systems.
struct WalkOptions {
    bool followLinks = false;   // links to folders are walked too (each folder once)
    bool oneFileSystem = false; // folders on another file system than the top's are passed over
};

// One folder of a walk, held open while it is visited.
struct WalkedFolder {
    const ListingDirectory& directory; // open; its files are opened relative to it
    // The top's path and the way down from it, with a trailing separator: what messages and
    // output name, never what an open goes through (it may be longer than a path can be).
    const std::string& path;
    // The way down from the top, with a trailing separator; empty for the top itself.
    std::string_view relative;
    // Its visible regular files that match the patterns, in the file list's order.
    const text::TextList& files;
};

// What a walk could not do: a folder it could not read (lost: its fonts are missing from the
// run), or a link it did not walk (again): a loop, or a folder already walked (not lost).
struct WalkTrouble {
    std::string path; // the folder's path as messages name it
    // For people: the system's words for a folder lost ("Permission denied"); for a link not
    // walked, "leads back to a folder already walked ('OTHER'); not walked again".
    std::string cause;
    bool lost = true;
};

class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    virtual void visit(const WalkedFolder& folder) = 0;
    virtual void trouble(const WalkTrouble& trouble) = 0;
};

// Walks the folder at top and every folder below it, depth first: a folder's files, then its
// sub-folders, each in the file list's order (without regard to case, ties in byte order);
// hidden folders are left out as hidden files are, links to folders are walked only with
// followLinks. Each folder is opened relative to its parent, so no depth is too deep for a
// path. Returns whether nothing was lost (no trouble with lost set). What the visitor throws
// (a stop asked for, say) ends the walk and reaches the caller, every folder closed.
bool walkFolders(const std::string& top, std::string_view patterns, const WalkOptions& options,
                 FolderVisitor& visitor);

} // namespace platform
