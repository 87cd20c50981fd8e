#pragma once

#include <cstddef>
#include <string_view>

// The one rule for what is valid UTF-8 wherever a text is checked byte by byte.
namespace runtime::utf8 {

// The length of the valid UTF-8 sequence that starts at text[i]: 1 for an ASCII byte, 2 to 4
// for a whole multi-byte sequence, or 0 when none starts there (i at or past the end, a
// continuation byte, a sequence cut short, an overlong form, a surrogate, or a code point above
// U+10FFFF).
constexpr std::size_t sequenceAt(std::string_view text, std::size_t i) {
    const auto byteAt = [&text](std::size_t at) {
        return at < text.size() ? static_cast<unsigned char>(text[at]) : 0u;
    };
    if (i >= text.size()) {
        return 0;
    }
    const unsigned lead = byteAt(i);
    if (lead <= 0x7F) {
        return 1;
    }
    std::size_t length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // below: overlong
        high = lead == 0xED ? 0x9F : 0xBF; // above: a surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;  // below: overlong
        high = lead == 0xF4 ? 0x8F : 0xBF; // above: beyond U+10FFFF
    } else {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned next = byteAt(i + k);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

} // namespace runtime::utf8
