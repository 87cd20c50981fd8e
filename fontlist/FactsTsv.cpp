#include "fontlist/FactsRow.h"
#include "fontlist/RecordFields.h"

namespace fontlist {

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
