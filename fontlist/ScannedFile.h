#pragma once

#include "fontlist/FontTypes.h"
#include "platform/ContentHash.h"
#include "platform/Failure.h"
#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fontlist {

// A font file as the duplicate finder knows it after one open: where it is, its stamp and
// first block, and the facts that tell which font (and which version of it) it holds.
struct ScannedFile {
    // Its names as output shows them (the system's bytes, the operand's path before them): the
    // first in walk order, then its other hard links in walk order.
    std::vector<std::string> paths;
    std::size_t order = 0; // the place of its first name in the walk
    std::size_t depth = 0; // how many folders below the top its first name lies
    const FontType* type = nullptr;

    // Whether it was opened as a regular file: stamp and firstBlock hold only then. A file that
    // could not be opened (or is a pipe or a device) has opened false and failure set.
    bool opened = false;
    platform::FileStamp stamp{};
    platform::ContentHash firstBlock{}; // of its first min(size, kFirstBlockSize) bytes

    // Whether its fonts' names were read; if not, failure says why, and it is compared by its
    // bytes alone.
    bool named = false;
    // The PostScript name and version of each of its fonts (an sfnt font's name IDs 6 and 5,
    // a Type 1 font's /FontName and /version), joined: equal for the same fonts saved again.
    std::string sameFontKey;
    // The family and style of each of its fonts (name IDs 16 and 17, else 1 and 2; Type 1:
    // FamilyName and Weight), joined: equal for versions of the same fonts.
    std::string familyKey;
    std::string version;                         // its first font's version text, as read
    std::optional<std::uint32_t> fontRevision{}; // its first font's `head` fontRevision (16.16)

    // Type 1: the extensions of the companions beside it (as the type table writes them), and
    // those of its type's companions that are not there.
    std::vector<std::string_view> companions;
    std::vector<std::string_view> missingCompanions;

    std::optional<platform::Failure> failure{};
};

// Folds the files that are one file (hard links, or a symbolic link and what it leads to: the
// same identity) into the first of them, its paths gathered in walk order; files never opened
// stay as they are. Keeps the walk's order.
void foldHardLinks(std::vector<ScannedFile>& files);

} // namespace fontlist
