#include "fontlist/RecordFields.h"

#include "text/Utf8.h"

#include <cstddef>

namespace fontlist {

namespace {

// The escape of a byte that may not stand as it is in a field; none for the others.
std::string_view tsvEscapeOf(char c) {
    switch (c) {
    case '\\': return "\\\\";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: return {};
    }
}

} // namespace

void appendTsvField(std::string& out, std::string_view text) {
    std::size_t run = 0; // the start of the bytes copied as they are
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view escape = tsvEscapeOf(text[i]);
        if (!escape.empty()) {
            out.append(text.substr(run, i - run));
            out += escape;
            run = i + 1;
        }
    }
    out.append(text.substr(run));
}

void assignReadable(std::string& out, std::string_view text) {
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = text::utf8::sequenceAt(text, i);
        out += length == 0 ? std::string_view("\xEF\xBF\xBD") : text.substr(i, length);
        i += length == 0 ? 1 : length;
    }
}

} // namespace fontlist
