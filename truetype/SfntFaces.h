#pragma once

#include "platform/FontFileReader.h"
#include "truetype/CollectionHeader.h"
#include "truetype/SuitcaseMap.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace truetype {

// How a file holds its sfnt fonts.
enum class SfntContainer {
    Font,       // one font, its offset table at the start (.ttf, .otf)
    Collection, // a collection header first (.ttc, .otc)
    Suitcase,   // a Mac resource map in the data fork (.dfont)
    WebFont,    // a WOFF or WOFF2 wrapper, told apart by its signature (.woff, .woff2)
};

// One font of a file: where its offset table lies in the bytes it is read from, and where its
// table offsets count from (the start of those bytes, or of the font itself for a suitcase's
// resource).
struct Face {
    platform::FontFileReader& font;
    std::int64_t offsetTableAt = 0;
    std::int64_t tableOffsetsFrom = 0;
};

// The fonts of a file, in order: the one way the name lookup and the report reach them. A web
// font is unwrapped here into the sfnt bytes it holds (its `name` table alone). A damaged
// collection header, resource map or wrapper raises "Overflow" on construction.
class SfntFaces {
public:
    SfntFaces(platform::FontFileReader& file, SfntContainer container);

    SfntFaces(const SfntFaces&) = delete;
    SfntFaces& operator=(const SfntFaces&) = delete;

    // At least 1.
    std::int64_t count() const noexcept;

    // Whether the file lists its fonts (a collection or a suitcase, even of one font), which
    // the report then heads one by one.
    bool listsFaces() const noexcept { return collection_ || suitcase_; }

    // The bytes the fonts are read from: the file, or the sfnt a web font wraps.
    platform::FontFileReader& bytes() noexcept { return *font_; }

    // Font i, 0 <= i < count().
    Face face(std::int64_t i);

private:
    std::vector<std::uint8_t> unwrapped_;
    std::optional<platform::FontFileReader> unwrappedReader_;
    platform::FontFileReader* font_;
    std::optional<CollectionHeader> collection_;
    std::optional<SuitcaseMap> suitcase_;
};

} // namespace truetype
