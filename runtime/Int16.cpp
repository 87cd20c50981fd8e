#include "runtime/Int16.h"

namespace runtime::int16 {

std::optional<std::int16_t> fromBytesOrNone(std::uint8_t high, std::uint8_t low) {
    if (high >= 0x80) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(high * 256 + low);
}

} // namespace runtime::int16
