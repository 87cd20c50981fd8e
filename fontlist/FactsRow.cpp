#include "fontlist/FactsRow.h"

#include <charconv>

namespace fontlist {

namespace {

// The header line of a text format: the columns' names joined by the separator.
void appendHeaderLine(std::string& out, char separator, std::string_view lineEnd) {
    for (std::size_t i = 0; i < kFactsColumns.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        out += kFactsColumns[i];
    }
    out += lineEnd;
}

} // namespace

void appendFactsHeader(std::string& out, FactsFormat format) {
    switch (format) {
    case FactsFormat::Tsv: appendHeaderLine(out, '\t', "\n"); return;
    case FactsFormat::Csv: appendHeaderLine(out, ',', "\r\n"); return;
    case FactsFormat::Json: return; // each object names its fields
    }
}

void appendFactsRow(std::string& out, FactsFormat format, const FactsRow& row) {
    switch (format) {
    case FactsFormat::Tsv: appendTsvRow(out, row); return;
    case FactsFormat::Csv: appendCsvRow(out, row); return;
    case FactsFormat::Json: appendJsonRow(out, row); return;
    }
}

void appendNumber(std::string& out, const std::optional<std::uint64_t>& number) {
    if (!number) {
        return;
    }
    char digits[24];
    const std::to_chars_result end = std::to_chars(std::begin(digits), std::end(digits), *number);
    out.append(digits, end.ptr);
}

} // namespace fontlist
