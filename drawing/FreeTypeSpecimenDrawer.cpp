#include "drawing/FreeTypeSpecimenDrawer.h"

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
constexpr std::string_view kPangram = "The quick brown fox jumps over the lazy dog";

std::string sampleTextOf(const fontlist::SpecimenOptions& options, FT_Face face) {
    std::string text;
    if (!options.sampleText.empty()) {
        text = options.sampleText;
    } else if (face != nullptr) {
        text::appendUtf8(text, sampleTextFor(face).text);
    }
    return text.empty() ? std::string(kPangram) : text;
}

fontlist::SpecimenFace specimenOf(const std::string& path, long faceIndex, std::string_view title,
                                  const fontlist::SpecimenOptions& options, bool image) {
    fontlist::SpecimenFace specimen;
    if (!image && !options.sampleText.empty()) {
        specimen.sampleText = options.sampleText;
        return specimen;
    }
    if (!image) {
        // The character map alone, where the type gives it.
        if (const auto sample =
                sampleTextFromCharacterMap(fontlist::characterMapOf(path, faceIndex))) {
            text::appendUtf8(specimen.sampleText, sample->text);
            if (specimen.sampleText.empty()) {
                specimen.sampleText = kPangram;
            }
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

fontlist::SpecimenFace FreeTypeSpecimenDrawer::face(const std::string& path, long faceIndex,
                                                    std::string_view title,
                                                    const fontlist::SpecimenOptions& options,
                                                    bool image) const {
    try {
        return specimenOf(path, faceIndex, title, options, image);
    } catch (...) { // out of memory: nothing else here throws
        fontlist::SpecimenFace specimen;
        specimen.reason = "The sample could not be drawn: out of memory";
        return specimen;
    }
}

} // namespace drawing
