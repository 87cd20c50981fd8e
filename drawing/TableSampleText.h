#pragma once

#include "drawing/SampleText.h"

#include <optional>
#include <string_view>

namespace drawing {

// The sample that suits a face, chosen as sampleTextFor does from the bytes of its `cmap` table
// alone, read by HarfBuzz: opening the face in FreeType would read its metrics, kerning and
// hinting tables whole as well, which costs many times more where only the text is wanted (the
// specimen page of fonts a browser draws). None for no bytes.
std::optional<SampleText> sampleTextFromCharacterMap(std::string_view cmapTable);

} // namespace drawing
