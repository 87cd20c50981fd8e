#include "fontlist/FactsRow.h"

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

} // namespace

void appendTsvRow(std::string& out, const FactsRow& row) {
    for (std::size_t i = 0; i < kFactsColumns.size(); ++i) {
        if (i > 0) {
            out += '\t';
        }
        if (i == kIndexColumn || i == kSizeColumn) {
            appendNumber(out, i == kIndexColumn ? row.index : row.size);
        } else {
            appendTsvField(out, row.texts[i]);
        }
    }
    out += '\n';
}

} // namespace fontlist
