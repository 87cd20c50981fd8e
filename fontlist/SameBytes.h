#pragma once

#include "fontlist/ScannedFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
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

// How much of a file is read at once: the memory each thread reads into (twice this while it
// compares) whatever the size of the files. Measured on files in the page cache, 64 KiB
// compares 200 MB files twice as fast as 128 KiB or more: the two pieces compared stay in
// the processor's cache.
inline constexpr std::size_t kSameBytesChunk = std::size_t{64} << 10;

struct SameBytesOptions {
    std::size_t chunk = kSameBytesChunk;
    // Called on the thread that reads, after each piece of a file was read (the file's place
    // among the files, the bytes of it read so far): a seam for tests that change a file
    // while it is read.
    std::function<void(std::size_t file, std::uint64_t bytesRead)> afterChunk{};
};

// The groups of files with the same bytes among the opened files (hard links already folded,
// so each file is there once). Empty files are no fonts and are left out. Files are grouped
// by size, then by the first block's hash, then by the whole file's hash (XXH3-128), then
// confirmed by comparing the bytes. Files are opened again by their first path, read in
// bounded memory, groups side by side; a file whose stamp differs from the scan's, that
// changes while it is read or cannot be read is told as a trouble and left out. A file alone
// in its size (or first block) is never opened again.
SameBytesResult findSameBytes(std::span<const ScannedFile> files,
                              const SameBytesOptions& options = {});

} // namespace fontlist
