#include "fontlist/VersionOrder.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fontlist {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The numbers of the first run of digits and dots in the text ("1.000" of "Version 1.000; x").
std::vector<std::uint64_t> versionNumbers(std::string_view text) {
    std::vector<std::uint64_t> numbers;
    std::size_t at = 0;
    while (at < text.size() && !isDigit(text[at])) {
        ++at;
    }
    while (at < text.size() && isDigit(text[at])) {
        std::uint64_t number = 0;
        for (; at < text.size() && isDigit(text[at]); ++at) {
            // Kept from overflowing: no version holds a number of twenty digits.
            number = number < UINT64_MAX / 10
                         ? number * 10 + static_cast<std::uint64_t>(text[at] - '0')
                         : number;
        }
        numbers.push_back(number);
        if (at + 1 < text.size() && text[at] == '.' && isDigit(text[at + 1])) {
            ++at;
        } else {
            break;
        }
    }
    return numbers;
}

} // namespace

int compareVersions(const ScannedFile& a, const ScannedFile& b) {
    if (a.fontRevision && b.fontRevision && *a.fontRevision != *b.fontRevision) {
        return *a.fontRevision < *b.fontRevision ? -1 : 1;
    }
    const std::vector<std::uint64_t> first = versionNumbers(a.version);
    const std::vector<std::uint64_t> second = versionNumbers(b.version);
    for (std::size_t i = 0; i < first.size() || i < second.size(); ++i) {
        const std::uint64_t x = i < first.size() ? first[i] : 0;
        const std::uint64_t y = i < second.size() ? second[i] : 0;
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

} // namespace fontlist
