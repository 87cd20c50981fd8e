#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// The page buffers of the font readers a thread has finished with, kept for its next reader:
// a run that reads file after file then allocates no page once the first few exist (and a
// page is larger than the allocator's small sizes, so each allocation would cost it a pass
// over its free lists). Buffers are kept in two capacities, 4 KiB (a reader's page) and
// 64 KiB (the largest file a reader takes whole); a larger request is made and freed as
// usual. What a thread keeps is freed when it ends.
namespace spare_page_buffers {

// A buffer of at least size bytes, its contents undefined.
std::unique_ptr<std::uint8_t[]> take(std::size_t size);

// Hands back a buffer take() gave for size bytes.
void giveBack(std::unique_ptr<std::uint8_t[]> bytes, std::size_t size) noexcept;

} // namespace spare_page_buffers

} // namespace platform
