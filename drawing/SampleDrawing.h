#pragma once

#include "drawing/FreeTypeHandles.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace drawing {

// An 8-bit coverage image, row after row, top first: 0 is untouched, 255 fully covered.
struct CoverageImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height
};

struct SampleRequest {
    std::string_view title;            // UTF-8, drawn first in the font's own face
    int titlePixels = 20;              // the title's size in pixels
    std::span<const int> samplePixels; // one sample line per size, in this order
    // UTF-8; empty: the sample that suits the font's character map.
    std::string_view sampleText;
    int maximumWidth = 2048; // lines are cut at this width
};

struct SampleDrawing {
    CoverageImage image;
    std::string reason; // empty when drawn; else the one line that says why not
    bool drawn() const { return reason.empty(); }
};

// Draws the face at faceIndex (each font of a collection or suitcase has its own) of the font
// file at path (the system's bytes): the title, then the sample at each size, each line
// shaped by HarfBuzz in its script's direction, right-to-left lines set against the right
// edge. Characters the face lacks are left out. Never throws on a damaged file: what FreeType
// refuses becomes the reason. Thread-safe: each thread draws with its own FreeType library.
SampleDrawing drawSample(const std::string& path, long faceIndex, const SampleRequest& request);

// A face opened with the calling thread's FreeType library, ready to draw (a symbol font's only
// character map chosen), or the one line that says why it cannot be drawn.
struct DrawableFace {
    Face face;
    std::string reason;
};
DrawableFace openDrawableFace(const std::string& path, long faceIndex);

// The same drawing of a face already open (by openDrawableFace, on the calling thread).
SampleDrawing drawSample(FT_Face face, const SampleRequest& request);

} // namespace drawing
