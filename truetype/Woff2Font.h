#pragma once

#include "platform/FontFileReader.h"

#include <cstdint>
#include <vector>

namespace truetype {

// The minimal sfnt that holds the `name` table of the WOFF2 font read by `file`: an offset table
// with one table record, 'name', and the table's bytes; without a `name` table in the font, an
// offset table of no tables. Throws platform::Failure (Overflow) for a damaged or hostile file.
std::vector<std::uint8_t> woff2Sfnt(platform::FontFileReader& file);

} // namespace truetype
