#include "fuzz/Properties.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace fuzzing {

void violated(std::string_view property) {
    throw PropertyViolation("property violated: " + std::string(property));
}

namespace {

bool isAsciiWord(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return (word & 0x8080808080808080u) == 0;
}

} // namespace

void requireFailureText(std::string_view reportText, std::string_view path) {
    const std::string failedEnd =
        " error encountered while reading font: \r\n" + std::string(path) + "\r\n";
    require(reportText.find(failedEnd) != std::string_view::npos,
            "a report that did not finish shows the failure text");
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Reports are mostly ASCII, some of them megabytes long: eight bytes at a time while
        // no byte has its high bit set.
        while (text.size() - i >= 8 && isAsciiWord(text.data() + i)) {
            i += 8;
        }
        if (i == text.size()) {
            break;
        }
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t smallest = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace fuzzing
