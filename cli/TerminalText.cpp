#include "cli/TerminalText.h"

#include "runtime/Utf8.h"

#include <cstddef>

namespace cli {

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

std::string terminalText(std::string_view text, LineBreaks lineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            if (lineBreaks == LineBreaks::Kept && keptLineBreak(text, i)) {
                out += text[i];
            } else {
                appendHex(out, "\\x", byte);
            }
            ++i;
            continue;
        }
        const std::size_t length = runtime::utf8::sequenceAt(text, i);
        if (length == 0) {
            appendHex(out, "\\x", byte);
            ++i;
        } else if (byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080 to U+009F: the second byte is the code point.
            appendHex(out, "\\u00", static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

} // namespace cli
