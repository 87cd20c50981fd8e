#pragma once

#include "platform/FontFileReader.h"

#include <cstdint>

namespace truetype {

// Inside the TrueType readers: the header of a font collection (.ttc, .otc), which says how
// many fonts it holds and where the offset table of each lies.
//
// A file without the tag "ttcf" is taken as a single font at offset 0 (a lone font under a
// collection's extension). A count of 0, or one whose offsets would run past the end of the
// file (which also keeps a huge count from driving any loop), fails with "Overflow", as a file
// that is no font fails the name lookup. An offset that points past the end, or at another
// font's data, is left to the name-table rules.
class CollectionHeader {
public:
    explicit CollectionHeader(platform::FontFileReader& font);

    // At least 1, and at most a quarter of the file's size.
    std::int64_t fontCount() const noexcept { return count_; }

    // The offset of font i's offset table, 0 <= i < fontCount().
    std::int64_t offsetTableAt(std::int64_t i);

private:
    platform::FontFileReader& font_;
    bool collection_ = false;
    std::int64_t count_ = 1;
};

} // namespace truetype
