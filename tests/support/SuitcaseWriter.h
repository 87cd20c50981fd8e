#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Builds Mac data-fork suitcases (.dfont) from fonts the TrueType writer makes, for tests and
// fuzz seeds.
namespace testsupport {

struct SuitcaseLayout {
    // Whole fonts as the writers make them, stored as "sfnt" resources in this order.
    std::vector<std::string> fonts{};
    // The type of the fonts' resources; a "FOND" type with one small resource comes first, as
    // in real suitcases.
    std::string fontType = "sfnt";
    // Raw overrides of the fields that damaged files get wrong.
    std::optional<std::uint32_t> mapOffset{};
    std::optional<std::uint16_t> typeCountLessOne{};
    std::optional<std::uint16_t> fontCountLessOne{};
    std::optional<std::uint32_t> lastFontLength{};
};

// The resource header, the data area (the "FOND" resource, then the fonts, each after its
// length) and the resource map with its type list and reference lists.
std::string dataForkSuitcase(const SuitcaseLayout& layout);

} // namespace testsupport
