#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Failure.h"

namespace fontlist {

// Where a sorted entry stands among its neighbours with the same key without regard to case:
// alone, or first or later in one of _report.txt's groups.
enum class GroupPlace : std::uint8_t { Alone, First, Later };

// A file's length as the report reads it, or the failure of reading it.
struct LengthRead {
    std::uint64_t length = 0;
    std::optional<runtime::Failure> failure;
};

// By entry: its place, and for a grouped entry the length of its file (read side by side,
// before anything is written; a length that cannot be read is kept as its failure, which the
// report raises when it comes to that file, as if it were read there).
struct DuplicateGroups {
    std::vector<GroupPlace> places;
    std::vector<LengthRead> lengths;
};

// The groups among entries 0 to count - 1 of the sorted keys and their paths.
DuplicateGroups findDuplicateGroups(const std::vector<std::string>& keys,
                                    const std::vector<std::string>& paths, std::size_t count);

} // namespace fontlist
