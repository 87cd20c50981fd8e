#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
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

// The same hash of bytes that come in pieces: add them in order, then take the hash, which is
// hashBytes of them all. One hasher serves file after file (start clears it) without taking
// memory again.
class ContentHasher {
public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher&) = delete;
    ContentHasher& operator=(const ContentHasher&) = delete;

    void start() noexcept;
    void add(std::span<const std::uint8_t> bytes) noexcept;
    ContentHash hash() const noexcept;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace platform
