#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// A 128-bit hash of bytes (XXH3-128): fast and well spread, not a proof of equal content.
struct ContentHash {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    auto operator<=>(const ContentHash&) const = default;
};

// How many bytes of a file its first-block hash covers (all of a smaller file).
inline constexpr std::size_t kFirstBlockSize = 4096;

ContentHash hashBytes(std::span<const std::uint8_t> bytes);

} // namespace platform
