#include "text/ControlCharacters.h"

#include "text/Utf8.h"

namespace text {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendHex(std::string& out, std::string_view prefix, unsigned char byte) {
    out += prefix;
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool keptLineBreak(std::string_view text, std::size_t i) {
    return text[i] == '\n' || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
}

} // namespace

std::size_t wideControlAt(std::string_view text, std::size_t i) noexcept {
    const auto at = [&](std::size_t k) -> unsigned {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0U;
    };
    if (at(0) == 0xC2) {
        return at(1) >= 0x80 && at(1) <= 0x9F ? 2 : 0; // U+0080 to U+009F
    }
    if (at(0) != 0xE2) {
        return 0;
    }
    const unsigned third = at(2);
    if (at(1) == 0x80) { // U+2000 to U+203F
        return third == 0x8E || third == 0x8F || (third >= 0xA8 && third <= 0xAE) ? 3 : 0;
    }
    return at(1) == 0x81 && third >= 0xA6 && third <= 0xA9 ? 3 : 0; // U+2066 to U+2069
}

void appendEscapingControls(std::string& out, std::string_view text, LineBreaks lineBreaks,
                            InvalidBytes invalidBytes) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            if (lineBreaks == LineBreaks::Kept && keptLineBreak(text, i)) {
                out += text[i];
            } else {
                appendHex(out, "\\x", byte);
            }
            ++i;
        } else if (byte < 0x80) {
            out += text[i++];
        } else if (const std::size_t control = wideControlAt(text, i); control == 2) {
            // The second byte of U+0080 to U+009F is the code point.
            appendHex(out, "\\u00", static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else if (control == 3) {
            // E2 80 xx is U+2000 + (xx - 0x80), E2 81 xx is U+2040 + (xx - 0x80).
            const auto low =
                static_cast<unsigned char>(((static_cast<unsigned char>(text[i + 1]) & 0x03) << 6) |
                                           (static_cast<unsigned char>(text[i + 2]) & 0x3F));
            appendHex(out, "\\u20", low);
            i += 3;
        } else if (const std::size_t length = utf8::sequenceAt(text, i); length != 0) {
            out.append(text, i, length);
            i += length;
        } else {
            if (invalidBytes == InvalidBytes::Escaped) {
                appendHex(out, "\\x", byte);
            } else {
                out += text[i];
            }
            ++i;
        }
    }
}

} // namespace text
