// The build for a system without the brotli decoder (the MinGW cross build): every WOFF2 file
// reads as broken.
#include "truetype/Woff2Font.h"

#include "runtime/Failure.h"

namespace truetype {

std::vector<std::uint8_t> woff2Sfnt(runtime::FontFileReader&) {
    throw runtime::Failure(runtime::FailureNumber::Overflow);
}

} // namespace truetype
