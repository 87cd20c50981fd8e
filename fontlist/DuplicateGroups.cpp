#include "fontlist/DuplicateGroups.h"

#include <cstddef>
#include <string_view>

namespace fontlist {

std::vector<GroupPlace> findGroupPlaces(const runtime::TextList& folded,
                                        const std::vector<std::uint32_t>& order) {
    const std::size_t count = order.size();
    const auto key = [&](std::size_t i) -> std::string_view { return folded[order[i]]; };
    std::vector<GroupPlace> places(count, GroupPlace::Alone);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && key(i) == key(i - 1)) {
            places[i] = GroupPlace::Later;
        } else if (i + 1 < count && key(i) == key(i + 1)) {
            places[i] = GroupPlace::First;
        }
    }
    return places;
}

} // namespace fontlist
