#include "truetype/WebFont.h"

#include "platform/Failure.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"
#include "truetype/Woff2Font.h"
#include "truetype/WoffFont.h"

#include <cstdint>
#include <span>
#include <vector>

namespace truetype {

namespace {

// The minimal sfnt the file's wrapper holds, by its signature.
std::vector<std::uint8_t> wrappedSfnt(platform::FontFileReader& font) {
    const std::string signature = font.bytesAt(1, 4);
    if (signature == "wOFF") {
        return woffSfnt(font);
    }
    if (signature == "wOF2") {
        return woff2Sfnt(font);
    }
    throw platform::Failure(platform::FailureNumber::Overflow);
}

} // namespace

fontcore::FullName webFontNameFromReader(platform::FontFileReader& font,
                                         fontcore::NameDecoding decoding) {
    try {
        const std::vector<std::uint8_t> sfnt = wrappedSfnt(font);
        platform::FontFileReader unwrapped{std::span<const std::uint8_t>(sfnt)};
        return TTEnglishNameFromReader(unwrapped, 0, decoding);
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

fontcore::FontReport webFontReportFromReader(platform::FontFileReader& font,
                                             const std::string& fontPath,
                                             fontcore::NameDecoding decoding) {
    try {
        const std::vector<std::uint8_t> sfnt = wrappedSfnt(font);
        platform::FontFileReader unwrapped{std::span<const std::uint8_t>(sfnt)};
        return TTReportFromReader(unwrapped, fontPath, decoding);
    } catch (...) {
        return fontcore::failedFontReport(platform::currentFailure(), fontPath);
    }
}

} // namespace truetype
