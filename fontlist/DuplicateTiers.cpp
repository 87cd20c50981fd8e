#include "fontlist/DuplicateTiers.h"

#include "fontlist/VersionOrder.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace fontlist {

namespace {

// Which of two files is the better one to keep (negative: a), and the rule that told them apart.
struct Preference {
    int order = 0;
    KeepReason rule = KeepReason::FirstInList;
};

Preference prefer(const ScannedFile& a, const ScannedFile& b) {
    if (const int newer = compareVersions(a, b); newer != 0) {
        return {newer > 0 ? -1 : 1, KeepReason::NewestVersion};
    }
    // Optional companions (.inf, .mmm) are seldom there: the copy with more of them is the
    // whole one, whether or not it has all its type could have.
    if (a.companions.size() != b.companions.size()) {
        return {a.companions.size() > b.companions.size() ? -1 : 1, KeepReason::MostCompanions};
    }
    if (a.depth != b.depth) {
        return {a.depth < b.depth ? -1 : 1, KeepReason::ShallowestFolder};
    }
    return {a.order < b.order ? -1 : (a.order > b.order ? 1 : 0), KeepReason::FirstInList};
}

// The file the rules put first, and why: the last rule needed to set it before the runner-up.
void suggestKeep(DuplicateGroup& group, std::span<const ScannedFile> files) {
    std::size_t best = group.files.front();
    for (const std::size_t i : group.files) {
        if (prefer(files[i], files[best]).order < 0) {
            best = i;
        }
    }
    group.keep = best;
    group.why = KeepReason::NewestVersion;
    for (const std::size_t i : group.files) {
        if (i != best) {
            group.why = std::max(group.why, prefer(files[best], files[i]).rule);
        }
    }
}

// The files that still stand for their content, grouped by a key (files with an empty key
// alone), groups of two or more in the order of their first files.
template <typename Key>
std::vector<std::vector<std::size_t>> groupsByKey(std::span<const ScannedFile> files,
                                                  const std::vector<bool>& stands, Key key) {
    std::unordered_map<std::string_view, std::size_t> groupOf;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string_view k = key(files[i]);
        if (!stands[i] || !files[i].named || k.empty()) {
            continue;
        }
        const auto [place, added] = groupOf.try_emplace(k, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[place->second].push_back(i);
    }
    std::erase_if(groups, [](const std::vector<std::size_t>& g) { return g.size() < 2; });
    return groups;
}

bool holdsOtherVersions(const std::vector<std::size_t>& group, std::span<const ScannedFile> files) {
    const ScannedFile& first = files[group.front()];
    return std::ranges::any_of(group, [&](std::size_t i) {
        return files[i].version != first.version || compareVersions(files[i], first) != 0;
    });
}

// Tells the groups of a tier: each with its suggestion; the rest of each group no longer
// stands for its content in the tiers after it (the one kept does).
void tellTier(DuplicateTier tier, std::vector<std::vector<std::size_t>> found,
              std::span<const ScannedFile> files, std::vector<bool>& stands,
              std::vector<DuplicateGroup>& groups) {
    for (std::vector<std::size_t>& members : found) {
        DuplicateGroup group{.tier = tier, .files = std::move(members)};
        suggestKeep(group, files);
        if (tier == DuplicateTier::OtherVersions) {
            group.newest = group.keep;
        }
        for (const std::size_t i : group.files) {
            stands[i] = stands[i] && i == group.keep;
        }
        groups.push_back(std::move(group));
    }
}

} // namespace

std::string_view keepReasonText(KeepReason reason) {
    switch (reason) {
    case KeepReason::NewestVersion: return "newest version";
    case KeepReason::MostCompanions: return "has the most companions";
    case KeepReason::ShallowestFolder: return "shallowest folder";
    case KeepReason::FirstInList: break;
    }
    return "first in list order";
}

std::vector<DuplicateGroup>
findDuplicateGroups(std::span<const ScannedFile> files,
                    const std::vector<std::vector<std::size_t>>& sameBytes,
                    const std::vector<bool>& leftOut) {
    std::vector<bool> stands(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        stands[i] = files[i].opened && !(i < leftOut.size() && leftOut[i]);
    }
    std::vector<DuplicateGroup> groups;
    tellTier(DuplicateTier::SameBytes, sameBytes, files, stands, groups);
    tellTier(DuplicateTier::SameFont,
             groupsByKey(files, stands,
                         [](const ScannedFile& f) -> std::string_view { return f.sameFontKey; }),
             files, stands, groups);
    std::vector<std::vector<std::size_t>> families = groupsByKey(
        files, stands, [](const ScannedFile& f) -> std::string_view { return f.familyKey; });
    std::erase_if(families,
                  [&](const std::vector<std::size_t>& g) { return !holdsOtherVersions(g, files); });
    tellTier(DuplicateTier::OtherVersions, std::move(families), files, stands, groups);
    return groups;
}

} // namespace fontlist
