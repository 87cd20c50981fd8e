#include "runtime/Int16.h"

#include "runtime/Failure.h"

namespace runtime::int16 {

std::int16_t checked(std::int64_t value) {
    if (value < -32768 || value > 32767) {
        throw Failure(FailureNumber::Overflow);
    }
    return static_cast<std::int16_t>(value);
}

std::int16_t add(std::int16_t a, std::int16_t b) {
    return checked(std::int64_t{a} + std::int64_t{b});
}

std::int16_t multiply(std::int16_t a, std::int16_t b) {
    return checked(std::int64_t{a} * std::int64_t{b});
}

std::int16_t fromBytes(std::uint8_t high, std::uint8_t low) {
    return checked(std::int64_t{high} * 256 + std::int64_t{low});
}

std::optional<std::int16_t> fromBytesOrNone(std::uint8_t high, std::uint8_t low) {
    if (high >= 0x80) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(high * 256 + low);
}

} // namespace runtime::int16
