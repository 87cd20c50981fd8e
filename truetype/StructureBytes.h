#pragma once

#include "runtime/FontFileReader.h"
#include "runtime/Int16.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace truetype {

// The bytes of one structure of a font (a directory entry, a table header, a name record),
// copied out of the reader's pages as they are asked for. Asking for a byte that is not held
// yet copies it and the bytes after it, up to the end of its page or of the structure: its
// page is fetched then, as a byteAt of that position would fetch it, and no page is fetched
// for bytes that are never asked for. So the structure reads the same pages in the same order
// as reading it a byte at a time, and a failed read strikes at the same field. Bytes past the
// end of the file are zero. What is held is a copy: later reads cannot change it.
template <std::size_t Size>
class StructureBytes {
public:
    // The structure whose first byte is at the 1-based position `position`. Nothing is read
    // yet. The reader must outlive the structure.
    StructureBytes(runtime::FontFileReader& font, std::int64_t position)
        : font_(font), position_(position) {}

    // Byte k of the structure, 0 <= k < Size.
    std::uint8_t at(std::int64_t k) {
        const auto index = static_cast<std::size_t>(k);
        if (index < heldFrom_ || index >= heldTo_) {
            holdFrom(index);
        }
        return bytes_[index];
    }

    // The big-endian 16-bit field at byte k, its high byte read first.
    std::uint16_t unsigned16(std::int64_t k) {
        const std::uint8_t high = at(k);
        return static_cast<std::uint16_t>(high * 256 + at(k + 1));
    }
    // The same as a signed 16-bit value: none (an overflow) when the high byte is 128 or more.
    std::optional<std::int16_t> signed16(std::int64_t k) {
        const std::uint8_t high = at(k);
        return runtime::int16::fromBytesOrNone(high, at(k + 1));
    }

private:
    void holdFrom(std::size_t index) {
        const std::span<const std::uint8_t> page =
            font_.pageFrom(position_ + static_cast<std::int64_t>(index));
        std::size_t count = Size - index;
        if (page.size() >= count) {
            std::copy_n(page.begin(), count, bytes_.begin() + index);
        } else if (page.empty()) {
            // Past the end of the file, where every byte reads as zero.
            std::fill_n(bytes_.begin() + index, count, std::uint8_t{0});
        } else {
            count = page.size(); // to the end of the page
            std::copy_n(page.begin(), count, bytes_.begin() + index);
        }
        heldFrom_ = index;
        heldTo_ = index + count;
    }

    runtime::FontFileReader& font_;
    std::int64_t position_;
    std::array<std::uint8_t, Size> bytes_{};
    // The bytes [heldFrom_, heldTo_) of bytes_ are copied from the file; none at first.
    std::size_t heldFrom_ = 0;
    std::size_t heldTo_ = 0;
};

} // namespace truetype
