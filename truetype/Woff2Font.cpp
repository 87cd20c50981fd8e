#include "truetype/Woff2Font.h"

#include "runtime/Failure.h"

namespace truetype {

// PLACEHOLDER until the WOFF2 decoder lands: every WOFF2 file reads as a damaged one.
std::vector<std::uint8_t> woff2Sfnt(runtime::FontFileReader&) {
    throw runtime::Failure(runtime::FailureNumber::Overflow);
}

} // namespace truetype
