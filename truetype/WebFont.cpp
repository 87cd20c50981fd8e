#include "truetype/WebFont.h"

#include "runtime/Failure.h"
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
std::vector<std::uint8_t> wrappedSfnt(runtime::FontFileReader& font) {
    const std::string signature = font.bytesAt(1, 4);
    if (signature == "wOFF") {
        return woffSfnt(font);
    }
    if (signature == "wOF2") {
        return woff2Sfnt(font);
    }
    throw runtime::Failure(runtime::FailureNumber::Overflow);
}

} // namespace

runtime::FullName webFontNameFromReader(runtime::FontFileReader& font,
                                        runtime::NameDecoding decoding) {
    try {
        const std::vector<std::uint8_t> sfnt = wrappedSfnt(font);
        runtime::FontFileReader unwrapped{std::span<const std::uint8_t>(sfnt)};
        return TTEnglishNameFromReader(unwrapped, 0, decoding);
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

runtime::FontReport webFontReportFromReader(runtime::FontFileReader& font,
                                            const std::string& fontPath,
                                            runtime::NameDecoding decoding) {
    try {
        const std::vector<std::uint8_t> sfnt = wrappedSfnt(font);
        runtime::FontFileReader unwrapped{std::span<const std::uint8_t>(sfnt)};
        return TTReportFromReader(unwrapped, fontPath, decoding);
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

} // namespace truetype
