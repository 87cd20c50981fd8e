#pragma once

#include "platform/FontFileReader.h"
#include "truetype/Int16.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace truetype {

// The font reader counts positions from 1; the TrueType readers count offsets from 0 and turn
// them into positions here alone.
constexpr std::int64_t readerPosition(std::int64_t offset) {
    return offset + 1;
}

// A typed view of one structure of a font (a directory entry, a table header, a name record)
// whose fields are read at their 0-based offsets from its start (see SfntLayout.h). Bytes are
// copied out of the reader's pages only as fields ask for them, so the view fetches the pages
// a byte-at-a-time read would, in the same order, and a failing read strikes at the same
// field. Bytes past the end of the file are zero. Later reads of the reader do not change
// what the view holds. The reader must outlive the view.
template <std::size_t Size>
class StructureBytes {
public:
    StructureBytes(platform::FontFileReader& font, std::int64_t offset)
        : font_(font), offset_(offset) {}

    std::uint8_t at(std::int64_t k) {
        const auto index = static_cast<std::size_t>(k);
        if (index < heldFrom_ || index >= heldTo_) {
            holdFrom(index);
        }
        return bytes_[index];
    }

    std::uint16_t unsigned16(std::int64_t k) {
        const std::uint8_t high = at(k);
        return static_cast<std::uint16_t>(high * 256 + at(k + 1));
    }

    // Where this reader holds a field in 16 signed bits: none (an overflow) from 32768 on.
    std::optional<std::int16_t> signed16(std::int64_t k) {
        const std::uint8_t high = at(k);
        return truetype::int16::fromBytesOrNone(high, at(k + 1));
    }

    // A 16-bit field of which this reader takes the low-order byte alone; the high-order byte
    // is never read.
    std::uint8_t lowByte(std::int64_t k) { return at(k + 1); }

    std::uint32_t unsigned32(std::int64_t k) {
        std::uint32_t value = 0;
        for (std::int64_t b = 0; b < 4; ++b) {
            value = value * 256 + at(k + b);
        }
        return value;
    }

    // A 32-bit field of which this reader takes the three low-order bytes alone (the value
    // modulo 2^24); the high-order byte is never read.
    std::uint32_t low24(std::int64_t k) {
        std::uint32_t value = 0;
        for (std::int64_t b = 1; b < 4; ++b) {
            value = value * 256 + at(k + b);
        }
        return value;
    }

private:
    // Copies the bytes from index to the end of its page or of the structure.
    void holdFrom(std::size_t index) {
        const std::span<const std::uint8_t> page =
            font_.pageFrom(readerPosition(offset_ + static_cast<std::int64_t>(index)));
        std::size_t count = Size - index;
        if (index == 0 && page.size() >= Size) {
            // The usual case, a whole structure within one page: a copy of a size known here,
            // which the compiler makes without a call.
            std::memcpy(bytes_.data(), page.data(), Size);
        } else if (page.size() >= count) {
            std::copy_n(page.begin(), count, bytes_.begin() + index);
        } else if (page.empty()) {
            std::fill_n(bytes_.begin() + index, count, std::uint8_t{0}); // past the end
        } else {
            count = page.size();
            std::copy_n(page.begin(), count, bytes_.begin() + index);
        }
        heldFrom_ = index;
        heldTo_ = index + count;
    }

    platform::FontFileReader& font_;
    std::int64_t offset_;
    std::array<std::uint8_t, Size> bytes_{};
    std::size_t heldFrom_ = 0; // bytes_[heldFrom_, heldTo_) are copied from the file
    std::size_t heldTo_ = 0;
};

} // namespace truetype
