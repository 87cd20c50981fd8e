#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/FactsRow.h"
#include "fontlist/FontTypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace fontlist {

// How the list of facts reads and writes its rows.
struct FactsOptions {
    FactsFormat format = FactsFormat::Tsv;
    fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise;
    // What each text becomes before it is written (a terminal's escaping); null: as it is.
    std::string (*shown)(std::string_view text) = nullptr;
};

// Appends the rows of the font file at path, read as facts (none for a file of no type of
// ours), to out: one per font of the file, the first one's full name the one nameOf gives; the
// family, style, notice and PostScript name are a Type 1 font's FamilyName, Weight, Notice and
// FontName. A file whose facts could not be read gives one row with what is known (its path,
// type, and size where it was opened) and the failure's description as its error. Returns
// whether every row came without an error.
bool appendFileRows(std::string& out, const FactsOptions& options, std::string_view path,
                    const std::optional<FileFacts>& file);

} // namespace fontlist
