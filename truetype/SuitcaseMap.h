#pragma once

#include "platform/FontFileReader.h"

#include <cstdint>

namespace truetype {

// Inside the TrueType readers: the resource map of a Mac data-fork suitcase (.dfont), a
// resource fork kept in a file's data fork. Its fonts are the resources of type "sfnt", in the
// order of the map's reference list; each is a whole font, its table offsets counted from its
// own first byte. The fonts are read where they lie: tables that point past a font's length
// read the bytes that follow it in the file, as a collection's fonts do.
//
// Every count and offset the map holds is checked against the file before it is followed: a
// header, type list or reference list that runs past its area or the end of the file, a map
// without an "sfnt" type, or a font whose length runs past the data area fails with
// "Overflow", as a file that is no font fails the name lookup.
class SuitcaseMap {
public:
    explicit SuitcaseMap(platform::FontFileReader& font);

    // From 1 to 65536.
    std::int64_t fontCount() const noexcept { return count_; }

    // The offset in the file of font i's first byte (its offset table), 0 <= i < fontCount().
    std::int64_t fontAt(std::int64_t i);

private:
    platform::FontFileReader& font_;
    std::int64_t dataStart_ = 0;
    std::int64_t dataEnd_ = 0;
    std::int64_t referencesAt_ = 0;
    std::int64_t count_ = 0;
};

} // namespace truetype
