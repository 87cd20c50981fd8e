#pragma once

#include <cstddef>
#include <string_view>

// The one rule for what is valid UTF-8 wherever a text is checked byte by byte.
namespace text::utf8 {

// Whether a byte continues a sequence (10xxxxxx) rather than starting one.
constexpr bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the sequence a byte announces when it starts one: 1 for an ASCII byte, 2 to 4
// for a lead byte, 0 for a byte that starts none (a continuation byte, or C0, C1 and F5 to FF,
// which could only start an overlong form or a code point above U+10FFFF).
constexpr std::size_t announcedLength(unsigned char lead) {
    if (lead <= 0x7F) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// The length of the valid UTF-8 sequence that starts at text[i]: 1 for an ASCII byte, 2 to 4
// for a whole multi-byte sequence, or 0 when none starts there (i at or past the end, a
// continuation byte, a sequence cut short, an overlong form, a surrogate, or a code point above
// U+10FFFF).
constexpr std::size_t sequenceAt(std::string_view text, std::size_t i) {
    if (i >= text.size()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = announcedLength(lead);
    if (length <= 1 || text.size() - i < length) {
        return length <= 1 ? length : 0;
    }
    // The second byte's range also rules out the overlong forms (E0, F0), the surrogates (ED)
    // and what lies beyond U+10FFFF (F4).
    const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

// Whether the whole text is valid UTF-8.
constexpr bool isValid(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceAt(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace text::utf8
