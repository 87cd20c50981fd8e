#include "fontlist/DuplicateGroups.h"

#include <cstddef>
#include <string_view>

#include "platform/SideBySide.h"

namespace fontlist {

namespace {

// From this many entries on, the places are found on two threads.
constexpr std::size_t kTwoThreadsFrom = 32768;

} // namespace

std::vector<GroupPlace> findGroupPlaces(const text::TextList& folded,
                                        const std::vector<std::uint32_t>& order) {
    const std::size_t count = order.size();
    const auto key = [&](std::size_t i) -> std::string_view { return folded[order[i]]; };
    std::vector<GroupPlace> places(count, GroupPlace::Alone);
    const auto placeRange = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (i > 0 && key(i) == key(i - 1)) {
                places[i] = GroupPlace::Later;
            } else if (i + 1 < count && key(i) == key(i + 1)) {
                places[i] = GroupPlace::First;
            }
        }
    };
    // Each place depends on the keys alone, so a long list is placed in two halves side by
    // side.
    if (count >= kTwoThreadsFrom) {
        platform::sideBySide([&] { placeRange(0, count / 2); },
                             [&] { placeRange(count / 2, count); });
    } else {
        placeRange(0, count);
    }
    return places;
}

} // namespace fontlist
