#pragma once

#include <cstdint>
#include <optional>

// Checked signed 16-bit arithmetic: the readers hold some font fields and indices in 16 bits
// and a result outside -32768..32767 is failure 6, "Overflow".
namespace runtime::int16 {

// Throws failure 6 unless value fits in a signed 16-bit integer.
std::int16_t checked(std::int64_t value);

std::int16_t add(std::int16_t a, std::int16_t b);
std::int16_t multiply(std::int16_t a, std::int16_t b);

// high * 256 + low as a signed 16-bit value: a high byte of 128 or more overflows.
std::int16_t fromBytes(std::uint8_t high, std::uint8_t low);
// The same, none where it would overflow (for readers that report an overflow without
// unwinding).
std::optional<std::int16_t> fromBytesOrNone(std::uint8_t high, std::uint8_t low);

} // namespace runtime::int16
