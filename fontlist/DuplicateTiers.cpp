#include "fontlist/DuplicateTiers.h"

namespace fontlist {

std::string_view keepReasonText(KeepReason reason) {
    switch (reason) {
    case KeepReason::NewestVersion: return "newest version";
    case KeepReason::EveryCompanion: return "has every companion";
    case KeepReason::ShallowestFolder: return "shallowest folder";
    case KeepReason::FirstInList: break;
    }
    return "first in list order";
}

// Stand-in until the tiers land.
std::vector<DuplicateGroup> findDuplicateGroups(std::span<const ScannedFile>,
                                                const std::vector<std::vector<std::size_t>>&,
                                                const std::vector<bool>&) {
    return {};
}

} // namespace fontlist
