#include "fontlist/DuplicateGroups.h"

#include <utility>

#include "runtime/FileSystem.h"
#include "runtime/OrderedWorkPool.h"
#include "runtime/Text.h"

namespace fontlist {

namespace {

std::vector<GroupPlace> groupPlaces(const std::vector<std::string>& keys, std::size_t count) {
    std::vector<std::string> folded;
    folded.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        folded.push_back(runtime::text::foldCaseUtf8(keys[i]));
    }
    std::vector<GroupPlace> places(count, GroupPlace::Alone);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && folded[i] == folded[i - 1]) {
            places[i] = GroupPlace::Later;
        } else if (i + 1 < count && folded[i] == folded[i + 1]) {
            places[i] = GroupPlace::First;
        }
    }
    return places;
}

} // namespace

DuplicateGroups findDuplicateGroups(const std::vector<std::string>& keys,
                                    const std::vector<std::string>& paths, std::size_t count) {
    DuplicateGroups groups;
    groups.places = groupPlaces(keys, count);
    std::vector<std::size_t> grouped;
    for (std::size_t i = 0; i < count; ++i) {
        if (groups.places[i] != GroupPlace::Alone) {
            grouped.push_back(i);
        }
    }
    groups.lengths.resize(count);
    runtime::inOrderParallel<LengthRead>(
        grouped.size(),
        [&](std::size_t g) {
            LengthRead read;
            try {
                read.length = runtime::fs::fileLength(paths[grouped[g]]);
            } catch (const runtime::Failure& failure) {
                read.failure = failure;
            }
            return read;
        },
        [&](std::size_t g, LengthRead&& read) { groups.lengths[grouped[g]] = std::move(read); });
    return groups;
}

} // namespace fontlist
