#include "platform/ContentHash.h"

// The library's functions inlined here: XXH3 is fastest so, and no shared library is needed.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace platform {

ContentHash hashBytes(std::span<const std::uint8_t> bytes) {
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.low64, hash.high64};
}

} // namespace platform
