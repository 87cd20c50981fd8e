#pragma once

#include "fontlist/DuplicateTiers.h"
#include "fontlist/ScannedFile.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace fontlist {

enum class DuplicatesFormat { Text, Tsv, Json };

struct DuplicatesOptions {
    DuplicatesFormat format = DuplicatesFormat::Text;
    // What each text becomes before it is written (a terminal's escaping); null: as it is.
    std::string (*shown)(std::string_view text) = nullptr;
};

// Appends what comes before the first group (TSV's header line; nothing for the others).
void appendDuplicatesHeader(std::string& out, const DuplicatesOptions& options);

// Appends group number (1 for the first) in the format: every record one line, whatever the
// paths hold (line breaks, bytes that are not UTF-8).
void appendDuplicateGroup(std::string& out, const DuplicatesOptions& options, std::size_t number,
                          const DuplicateGroup& group, std::span<const ScannedFile> files);

} // namespace fontlist
