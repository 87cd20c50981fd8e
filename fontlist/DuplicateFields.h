#pragma once

#include "fontlist/DuplicateTiers.h"
#include "fontlist/DuplicatesOutput.h"
#include "fontlist/ScannedFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The pieces the three forms of a duplicate group share.
namespace fontlist::duplicate_fields {

// "same bytes", "same font, other bytes", "other versions".
std::string_view tierName(DuplicateTier tier);

// Appends the moment in UTC as ISO 8601 to the second: "2026-12-09T08:40:00Z".
void appendUtcTime(std::string& out, std::int64_t nanoseconds);

// Appends a `head` fontRevision (signed 16.16) as the shortest decimal that reads back as it:
// "1.5" for 0x00018000, "2" for 0x00020000.
void appendRevision(std::string& out, std::uint32_t fixed);

// The value of a `head` fontRevision.
double revisionValue(std::uint32_t fixed);

// The text as the options show it (a terminal's escaping), or as it is.
std::string shown(const DuplicatesOptions& options, std::string_view text);

// The extensions joined by spaces: ".pfm .afm".
std::string joined(const std::vector<std::string_view>& extensions);

// Whether the file's type has companions at all (and so whether its own are told).
bool hasCompanionKinds(const ScannedFile& file);

} // namespace fontlist::duplicate_fields
