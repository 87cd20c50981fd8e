#include "fontlist/HtmlLinkLine.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/PathText.h"
#include "text/Utf8.h"

namespace fontlist {

namespace {

// How a byte is written into the page: as itself, as a character reference, or (in a link
// only) percent-encoded; a byte above 0x7F is kept in a link where it belongs to a valid UTF-8
// sequence and percent-encoded where it does not (a file name in Latin-1, say), so that the
// link leads back to the file's own bytes.
enum ByteForm : std::uint8_t { AsItself, AsReference, PercentInLink, Utf8InLink };

constexpr std::array<ByteForm, 256> kByteForms = [] {
    std::array<ByteForm, 256> forms{};
    for (const unsigned char c : {'&', '<', '>', '"'}) {
        forms[c] = AsReference;
    }
    for (unsigned byte = 0; byte < 0x20; ++byte) {
        forms[byte] = PercentInLink;
    }
    // A browser reads "%", "#" and "?" as the start of an escape, a fragment and a query, and
    // "\\" in a file link as a separator: where it is not the system's separator (on Windows it
    // is, and stays), it is a character of a file name.
    for (const unsigned char c : {'%', '#', '?', '\x7F'}) {
        forms[c] = PercentInLink;
    }
    if (platform::path::separator != '\\') {
        forms[static_cast<unsigned char>('\\')] = PercentInLink;
    }
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        forms[byte] = Utf8InLink;
    }
    return forms;
}();

std::string_view characterReference(char c) {
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return "&quot;";
    }
}

// Appends the text with the characters that need it written as character references and, in a
// link, the bytes that need it percent-encoded; the runs between them are copied whole.
void appendEscaped(std::string& out, std::string_view text, bool inLink) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const ByteForm form = kByteForms[byte];
        if (form == AsItself || (form != AsReference && !inLink)) {
            continue;
        }
        if (form == Utf8InLink) {
            if (const std::size_t length = text::utf8::sequenceAt(text, i); length > 0) {
                i += length - 1;
                continue;
            }
        }
        out.append(text, run, i - run);
        run = i + 1;
        if (form == AsReference) {
            out += characterReference(text[i]);
        } else {
            const char encoded[] = {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
            out.append(encoded, sizeof encoded);
        }
    }
    out.append(text, run);
}

} // namespace

std::string linkTarget(std::string_view path) {
    std::string target;
    appendEscaped(target, path, true);
    return target;
}

void appendHtmlLinkLine(std::string& out, std::string_view directoryTarget, std::string_view name,
                        std::string_view key) {
    out.reserve(out.size() + directoryTarget.size() + name.size() + key.size() + 32);
    out += "<A HREF=\"";
    out += directoryTarget;
    appendEscaped(out, name, true);
    out += "\">";
    appendEscaped(out, key, false);
    out += "</A><BR>";
}

std::string htmlLinkLine(std::string_view path, std::string_view key) {
    std::string line;
    appendHtmlLinkLine(line, {}, path, key);
    return line;
}

} // namespace fontlist
