#include "text/UnicodeText.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace text {

namespace {

constexpr char32_t kReplacement = U'\uFFFD';

// Mac Roman's bytes 0x80 to 0xFF; the bytes below are ASCII.
constexpr std::array<char16_t, 128> kMacRomanHigh{
    u'\u00C4', u'\u00C5', u'\u00C7', u'\u00C9', u'\u00D1', u'\u00D6', u'\u00DC', u'\u00E1',
    u'\u00E0', u'\u00E2', u'\u00E4', u'\u00E3', u'\u00E5', u'\u00E7', u'\u00E9', u'\u00E8',
    u'\u00EA', u'\u00EB', u'\u00ED', u'\u00EC', u'\u00EE', u'\u00EF', u'\u00F1', u'\u00F3',
    u'\u00F2', u'\u00F4', u'\u00F6', u'\u00F5', u'\u00FA', u'\u00F9', u'\u00FB', u'\u00FC',
    u'\u2020', u'\u00B0', u'\u00A2', u'\u00A3', u'\u00A7', u'\u2022', u'\u00B6', u'\u00DF',
    u'\u00AE', u'\u00A9', u'\u2122', u'\u00B4', u'\u00A8', u'\u2260', u'\u00C6', u'\u00D8',
    u'\u221E', u'\u00B1', u'\u2264', u'\u2265', u'\u00A5', u'\u00B5', u'\u2202', u'\u2211',
    u'\u220F', u'\u03C0', u'\u222B', u'\u00AA', u'\u00BA', u'\u03A9', u'\u00E6', u'\u00F8',
    u'\u00BF', u'\u00A1', u'\u00AC', u'\u221A', u'\u0192', u'\u2248', u'\u2206', u'\u00AB',
    u'\u00BB', u'\u2026', u'\u00A0', u'\u00C0', u'\u00C3', u'\u00D5', u'\u0152', u'\u0153',
    u'\u2013', u'\u2014', u'\u201C', u'\u201D', u'\u2018', u'\u2019', u'\u00F7', u'\u25CA',
    u'\u00FF', u'\u0178', u'\u2044', u'\u20AC', u'\u2039', u'\u203A', u'\uFB01', u'\uFB02',
    u'\u2021', u'\u00B7', u'\u201A', u'\u201E', u'\u2030', u'\u00C2', u'\u00CA', u'\u00C1',
    u'\u00CB', u'\u00C8', u'\u00CD', u'\u00CE', u'\u00CF', u'\u00CC', u'\u00D3', u'\u00D4',
    u'\uF8FF', u'\u00D2', u'\u00DA', u'\u00DB', u'\u00D9', u'\u0131', u'\u02C6', u'\u02DC',
    u'\u00AF', u'\u02D8', u'\u02D9', u'\u02DA', u'\u00B8', u'\u02DD', u'\u02DB', u'\u02C7',
};

// Appends a character that is no surrogate and at most U+10FFFF.
void appendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

void appendUtf16BigEndian(std::string& out, std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    const auto unitAt = [&](std::size_t i) -> char32_t {
        return static_cast<char32_t>(static_cast<std::uint8_t>(bytes[2 * i]) << 8 |
                                     static_cast<std::uint8_t>(bytes[2 * i + 1]));
    };
    // Three UTF-8 bytes at most for each unit (a pair takes four for two).
    out.reserve(out.size() + 3 * units + 3);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unitAt(i);
        if (isHighSurrogate(c) && i + 1 < units && isLowSurrogate(unitAt(i + 1))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00);
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = kReplacement;
        }
        if (c != 0) {
            appendCodePoint(out, c);
        }
    }
    if (bytes.size() % 2 != 0) {
        appendCodePoint(out, kReplacement);
    }
}

void appendMacRoman(std::string& out, std::string_view bytes) {
    out.reserve(out.size() + bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<std::uint8_t>(byte);
        if (b >= 0x80) {
            appendCodePoint(out, kMacRomanHigh[b - 0x80]);
        } else if (b != 0) {
            out += static_cast<char>(b);
        }
    }
}

void appendUtf8(std::string& out, std::u32string_view characters) {
    for (const char32_t c : characters) {
        appendCodePoint(out, (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? kReplacement : c);
    }
}

} // namespace text
