#include "platform/ContentHash.h"

// The library's functions inlined here: XXH3 is fastest so, and no shared library is needed.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace platform {

ContentHash hashBytes(std::span<const std::uint8_t> bytes) {
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.low64, hash.high64};
}

struct ContentHasher::State {
    XXH3_state_t xxh3;
};

ContentHasher::ContentHasher() : state_(std::make_unique<State>()) {
    start();
}

ContentHasher::~ContentHasher() = default;

void ContentHasher::start() noexcept {
    (void)XXH3_128bits_reset(&state_->xxh3);
}

void ContentHasher::add(std::span<const std::uint8_t> bytes) noexcept {
    (void)XXH3_128bits_update(&state_->xxh3, bytes.data(), bytes.size());
}

ContentHash ContentHasher::hash() const noexcept {
    const XXH128_hash_t hash = XXH3_128bits_digest(&state_->xxh3);
    return {hash.low64, hash.high64};
}

} // namespace platform
