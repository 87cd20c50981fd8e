#pragma once

#include "fontlist/ScannedFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace fontlist {

// How much of a duplicate the files of a group are.
enum class DuplicateTier : std::uint8_t {
    SameBytes = 1,     // equal content
    SameFont = 2,      // the same fonts (PostScript names and version), other bytes
    OtherVersions = 3, // the same family and style, other versions
};

// Why a group's suggested copy is the one to keep, in the order the rules are tried.
enum class KeepReason : std::uint8_t {
    NewestVersion,
    MostCompanions,
    ShallowestFolder,
    FirstInList,
};

// A few words for people: "newest version", "has the most companions", "shallowest folder",
// "first in list order".
std::string_view keepReasonText(KeepReason reason);

// A group told once: its files (places among the scanned files) in walk order, the one
// suggested to keep and why, and for other versions the newest one.
struct DuplicateGroup {
    DuplicateTier tier = DuplicateTier::SameBytes;
    std::vector<std::size_t> files;
    std::size_t keep = 0; // one of files
    KeepReason why = KeepReason::FirstInList;
    std::optional<std::size_t> newest{}; // OtherVersions: one of files
};

// Every group of the three tiers, tier by tier, each tier's groups in the order of their first
// files: the same-bytes groups as found, then the same fonts with other bytes, then other
// versions of the same family and style. Files left out (troubles) take part in none.
std::vector<DuplicateGroup>
findDuplicateGroups(std::span<const ScannedFile> files,
                    const std::vector<std::vector<std::size_t>>& sameBytes,
                    const std::vector<bool>& leftOut);

} // namespace fontlist
