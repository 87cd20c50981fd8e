#pragma once

#include "platform/FontFileReader.h"

#include <cstdint>
#include <optional>

// The parts of a WOFF2 file's header and directories that lead to its `name` table: where the
// brotli stream lies in the file and where the table lies in what the stream inflates to.
namespace truetype {

// The most a WOFF2 file may declare its sfnt, or its stream of tables, to hold; a larger
// declaration is refused before anything is inflated.
constexpr std::uint64_t kWoff2SizeCap = 256ULL << 20;

struct Woff2NameTable {
    std::uint64_t streamOffset = 0; // where its bytes start in the inflated stream
    std::uint32_t length = 0;
};

struct Woff2Layout {
    std::uint32_t flavor = 0;             // the wrapped font's sfnt version (of the first font
                                          // of a collection)
    std::uint64_t compressedAt = 0;       // 0-based offset of the brotli stream in the file
    std::uint64_t compressedSize = 0;     // its length in the file
    std::uint64_t streamLength = 0;       // what it inflates to, by the directory's lengths
    std::optional<Woff2NameTable> name{}; // none when the (first) font has no `name` table
};

// Reads the header, the table directory and, for a collection, the collection directory.
// Throws platform::Failure (Overflow) for anything the format does not allow or that does not
// fit the file, for a `name` table declared larger than 1 MiB, and for a stream that declares
// more bytes up to the end of its `name` table than 100 times the file's size (and 1 MiB): no
// real font inflates that much, and a hostile one would make the lookup inflate it.
Woff2Layout readWoff2Layout(platform::FontFileReader& file);

} // namespace truetype
