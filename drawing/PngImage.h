#pragma once

#include "drawing/SampleDrawing.h"

#include <string>

namespace drawing {

// The bytes of a PNG file of the image: 8-bit grey and alpha, black ink whose alpha is the
// coverage, so it sits on any background and prints. Empty for an empty image, one whose pixels
// do not match its size, or one libpng could not encode.
std::string pngOf(const CoverageImage& image);

} // namespace drawing
