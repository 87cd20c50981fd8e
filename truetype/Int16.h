#pragma once

#include <cstdint>
#include <optional>

// Signed 16-bit fields: the readers hold some font fields in 16 bits, and a value outside
// -32768..32767 is failure 6, "Overflow", which the caller raises or reports.
namespace truetype::int16 {

// high * 256 + low as a signed 16-bit value; none where it would overflow (a high byte of 128
// or more). Inline: the name lookup reads three such fields per record.
inline std::optional<std::int16_t> fromBytesOrNone(std::uint8_t high, std::uint8_t low) {
    if (high >= 0x80) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(high * 256 + low);
}

} // namespace truetype::int16
