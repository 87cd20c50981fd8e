// The build for a system without the brotli decoder (the MinGW cross build): every WOFF2 file
// reads as broken.
#include "truetype/Woff2Font.h"

#include "platform/Failure.h"

namespace truetype {

std::vector<std::uint8_t> woff2Sfnt(platform::FontFileReader&) {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

} // namespace truetype
