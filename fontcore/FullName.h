#pragma once

#include "platform/Failure.h"

#include <optional>
#include <string>

namespace fontcore {

// What a full-name lookup yields: the name as the font stores it (not trimmed, possibly
// empty), or the failure that stopped the lookup.
struct FullName {
    std::string name{};
    std::optional<platform::Failure> failure{};

    bool failedWith(platform::FailureNumber number) const noexcept {
        return failure && failure->is(number);
    }

    // The text users see: the name, or "error: " followed by the failure's description.
    std::string text() const { return failure ? "error: " + failure->description() : name; }
};

} // namespace fontcore
