#include "fontlist/PageText.h"

#include <cstdint>

#include "text/Text.h"
#include "text/Utf8.h"

namespace fontlist::page_text {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

void appendPercent(std::string& out, unsigned char byte) {
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

std::string_view referenceOf(char c) {
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    default: return {};
    }
}

bool isUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

} // namespace

void appendHtmlText(std::string& out, std::string_view text) {
    std::size_t run = 0; // the start of the bytes copied as they are
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::string_view replacement = referenceOf(text[i]);
        if (byte >= 0x80) {
            if (const std::size_t length = text::utf8::sequenceAt(text, i); length > 0) {
                i += length - 1;
                continue;
            }
            replacement = kReplacement;
        } else if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) {
            replacement = kReplacement;
        }
        if (replacement.empty()) {
            continue;
        }
        out.append(text, run, i - run);
        out += replacement;
        run = i + 1;
    }
    out.append(text, run);
}

void appendFileUrl(std::string& out, std::string_view fileName) {
    out += "./";
    for (const char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            out += c;
        } else {
            appendPercent(out, byte);
        }
    }
}

void appendWebAddress(std::string& out, std::string_view address) {
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') {
            out += "&amp;";
        } else if (byte <= 0x20 || byte >= 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' ||
                   c == '\\') {
            appendPercent(out, byte);
        } else {
            out += c;
        }
    }
}

bool isWebAddress(std::string_view text) {
    const auto startsWith = [text](std::string_view scheme) {
        return text.size() > scheme.size() &&
               text::equalsNoCase(text.substr(0, scheme.size()), scheme);
    };
    return startsWith("http://") || startsWith("https://");
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t taken = 0; taken < count && end < text.size(); ++taken) {
        ++end;
        while (end < text.size() &&
               text::utf8::isContinuation(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
    }
    return text.substr(0, end);
}

void appendBase64(std::string& out, std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group =
            static_cast<std::uint32_t>((static_cast<unsigned char>(bytes[i]) << 16) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                                       static_cast<unsigned char>(bytes[i + 2]));
        out += kDigits[(group >> 18) & 0x3F];
        out += kDigits[(group >> 12) & 0x3F];
        out += kDigits[(group >> 6) & 0x3F];
        out += kDigits[group & 0x3F];
    }
    if (const std::size_t left = bytes.size() - i; left > 0) {
        std::uint32_t group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) << 16);
        if (left == 2) {
            group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        out += kDigits[(group >> 18) & 0x3F];
        out += kDigits[(group >> 12) & 0x3F];
        out += left == 2 ? kDigits[(group >> 6) & 0x3F] : '=';
        out += '=';
    }
}

} // namespace fontlist::page_text
