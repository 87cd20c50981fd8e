#pragma once

#include "runtime/FontFileReader.h"

#include <cstdint>
#include <vector>

namespace truetype {

// Inside the TrueType readers: the sfnt a WOFF2 file (.woff2) wraps, as a minimal sfnt that
// holds its `name` table (an empty directory when it has none), as woffSfnt gives for WOFF.
// A damaged file throws runtime::Failure (Overflow where the wrapped bytes are broken).
std::vector<std::uint8_t> woff2Sfnt(runtime::FontFileReader& file);

} // namespace truetype
