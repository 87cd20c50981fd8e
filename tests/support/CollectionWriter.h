#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Builds OpenType files and font collections from fonts the TrueType writer makes, for tests,
// fuzz seeds and the demo folder.
namespace testsupport {

// The font with "OTTO" in place of its version tag, as an OpenType font with PostScript
// outlines starts: the name reader treats both alike.
std::string openTypeFont(std::string trueTypeFont);

struct CollectionLayout {
    // Whole fonts as the writers make them, their table offsets counted from their own start.
    std::vector<std::string> fonts{};
    std::optional<std::uint32_t> count{}; // default: fonts.size()
    std::vector<std::uint32_t> offsets{}; // default: where each font is stored
    std::uint32_t version = 0x00010000;   // 1.0; 2.0 adds three fields the reader skips
};

// A "ttcf" collection: its header, an offset per font, then each font 4-byte aligned with the
// offsets of its directory moved to where it lies in the collection.
std::string fontCollection(const CollectionLayout& layout);

} // namespace testsupport
