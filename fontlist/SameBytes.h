#pragma once

#include "fontlist/ScannedFile.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace fontlist {

// A file the byte comparison could not use: it could not be read again, or it changed since it
// was scanned or while it was read. It is left out of every group.
struct FileTrouble {
    std::size_t file = 0; // its place among the files
    std::string cause;    // for people: "changed while it was read", or the system's words
};

struct SameBytesResult {
    // Groups of files of equal size and equal bytes, each of at least two, each group's files
    // in walk order, the groups in the order of their first files.
    std::vector<std::vector<std::size_t>> groups;
    std::vector<FileTrouble> troubles; // in walk order
};

// The groups of files with the same bytes among the opened files (hard links already folded,
// so each file is there once): grouped by size, then by the first block's hash, then by the
// whole file's hash (XXH3-128), then confirmed by comparing the bytes. Files are opened again
// by their first path, read in bounded memory, side by side; a file whose stamp differs from
// the scan's or changes while it is read is told as a trouble and left out.
SameBytesResult findSameBytes(std::span<const ScannedFile> files);

} // namespace fontlist
