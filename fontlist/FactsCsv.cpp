#include "fontlist/FactsRow.h"

namespace fontlist {

namespace {

void appendCsvField(std::string& out, std::string_view text) {
    bool quoted = false;
    for (const char c : text) {
        quoted = quoted || c == ',' || c == '"' || c == '\r' || c == '\n';
    }
    if (!quoted) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

} // namespace

void appendCsvRow(std::string& out, const FactsRow& row) {
    for (std::size_t i = 0; i < kFactsColumns.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        if (i == kIndexColumn || i == kSizeColumn) {
            appendNumber(out, i == kIndexColumn ? row.index : row.size);
        } else {
            appendCsvField(out, row.texts[i]);
        }
    }
    out += "\r\n";
}

} // namespace fontlist
