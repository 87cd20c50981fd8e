#include "drawing/FreeTypeFaceDrawer.h"

#include "drawing/PngImage.h"
#include "drawing/SampleDrawing.h"
#include "drawing/SampleText.h"
#include "drawing/TableSampleText.h"
#include "fontlist/FontTypes.h"
#include "text/UnicodeText.h"

#include <string_view>

namespace drawing {

namespace {

constexpr int kTitlePixels = 24;
constexpr int kMaximumWidth = 900;
using fontlist::kPangram;

// The sample as UTF-8; the pangram where the face maps no printable character.
std::string textOf(const SampleText& sample) {
    std::string text;
    text::appendUtf8(text, sample.text);
    return text.empty() ? std::string(kPangram) : text;
}

std::string sampleTextOf(const fontlist::SamplesOptions& options, FT_Face face) {
    if (!options.sampleText.empty()) {
        return options.sampleText;
    }
    return face != nullptr ? textOf(sampleTextFor(face)) : std::string(kPangram);
}

fontlist::SampleFace sampleOf(const std::string& path, long faceIndex, std::string_view title,
                              const fontlist::SamplesOptions& options, bool image) {
    fontlist::SampleFace specimen;
    if (!image) {
        // The text alone: the one asked for, else the one the font's character map suits, read
        // without opening the face where the type gives the map.
        if (!options.sampleText.empty()) {
            specimen.sampleText = options.sampleText;
            return specimen;
        }
        if (const auto sample =
                sampleTextFromCharacterMap(fontlist::characterMapOf(path, faceIndex))) {
            specimen.sampleText = textOf(*sample);
            return specimen;
        }
    }
    const DrawableFace opened = openDrawableFace(path, faceIndex);
    specimen.sampleText = sampleTextOf(options, opened.face.get());
    if (!image) {
        return specimen;
    }
    if (!opened.face) {
        specimen.reason = opened.reason;
        return specimen;
    }
    const SampleDrawing drawing = drawSample(opened.face.get(), {.title = title,
                                                                 .titlePixels = kTitlePixels,
                                                                 .samplePixels = options.sizes,
                                                                 .sampleText = specimen.sampleText,
                                                                 .maximumWidth = kMaximumWidth});
    if (!drawing.drawn()) {
        specimen.reason = drawing.reason;
        return specimen;
    }
    specimen.png = pngOf(drawing.image);
    if (specimen.png.empty()) {
        specimen.reason = "The sample could not be made into an image";
    }
    return specimen;
}

} // namespace

fontlist::SampleFace FreeTypeFaceDrawer::face(const std::string& path, long faceIndex,
                                              std::string_view title,
                                              const fontlist::SamplesOptions& options,
                                              bool image) const {
    try {
        return sampleOf(path, faceIndex, title, options, image);
    } catch (...) { // out of memory: nothing else here throws
        fontlist::SampleFace specimen;
        specimen.reason = "The sample could not be drawn: out of memory";
        return specimen;
    }
}

} // namespace drawing
