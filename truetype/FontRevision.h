#pragma once

#include "platform/FontFileReader.h"

#include <cstdint>
#include <optional>

namespace truetype {

// The `head` table's fontRevision (a 16.16 fixed-point number, as stored) of the font whose
// offset table lies at offsetTableAt, its table offsets counted from tableOffsetsFrom (as for
// findNameTable). None where the font declares no `head` table, or one too short or lying past
// the end of the file. Unlike the name table's search, this one keeps to the tables the font
// declares and takes the tag as it is written. A failing read is raised.
std::optional<std::uint32_t> fontRevisionOf(platform::FontFileReader& font,
                                            std::int64_t offsetTableAt,
                                            std::int64_t tableOffsetsFrom = 0);

} // namespace truetype
