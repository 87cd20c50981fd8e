#include "platform/SparePageBuffers.h"

#include <array>
#include <utility>

namespace platform::spare_page_buffers {

namespace {

constexpr std::array<std::size_t, 2> kCapacities = {4 * 1024, 64 * 1024};
// As many as a reader holds pages, for the smaller; one whole file, for the larger.
constexpr std::array<std::size_t, 2> kKept = {8, 1};

// The capacity class of a size; kCapacities.size() for one larger than every class.
std::size_t classOf(std::size_t size) noexcept {
    std::size_t c = 0;
    while (c < kCapacities.size() && size > kCapacities[c]) {
        ++c;
    }
    return c;
}

struct Spares {
    std::array<std::array<std::unique_ptr<std::uint8_t[]>, 8>, 2> buffers;
    std::array<std::size_t, 2> counts{};
};

Spares& spares() noexcept {
    thread_local Spares kept;
    return kept;
}

} // namespace

std::unique_ptr<std::uint8_t[]> take(std::size_t size) {
    const std::size_t c = classOf(size);
    if (c == kCapacities.size()) {
        return std::make_unique_for_overwrite<std::uint8_t[]>(size);
    }
    Spares& kept = spares();
    if (kept.counts[c] > 0) {
        return std::move(kept.buffers[c][--kept.counts[c]]);
    }
    return std::make_unique_for_overwrite<std::uint8_t[]>(kCapacities[c]);
}

void giveBack(std::unique_ptr<std::uint8_t[]> bytes, std::size_t size) noexcept {
    const std::size_t c = classOf(size);
    if (c == kCapacities.size() || !bytes) {
        return;
    }
    Spares& kept = spares();
    if (kept.counts[c] < kKept[c]) {
        kept.buffers[c][kept.counts[c]++] = std::move(bytes);
    }
}

} // namespace platform::spare_page_buffers
