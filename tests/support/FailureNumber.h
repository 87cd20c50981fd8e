#pragma once

#include "platform/Failure.h"

namespace testsupport {

// The number of the platform::Failure that an action raises; 0 when it raises none.
int failureNumberOf(const auto& action) {
    try {
        action();
    } catch (const platform::Failure& failure) {
        return failure.number();
    }
    return 0;
}

} // namespace testsupport
