#pragma once

#include <cstdint>
#include <vector>

#include "text/TextList.h"

namespace fontlist {

// Where a sorted entry stands among its neighbours with the same key without regard to case:
// alone, or first or later in one of _report.txt's groups.
enum class GroupPlace : std::uint8_t { Alone, First, Later };

// The place of every entry of the sorted keys: entry i is the key at folded[order[i]], the
// folded keys (text::foldCaseUtf8) in the order the sort left them.
std::vector<GroupPlace> findGroupPlaces(const text::TextList& folded,
                                        const std::vector<std::uint32_t>& order);

} // namespace fontlist
