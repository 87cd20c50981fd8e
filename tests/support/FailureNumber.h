#pragma once

#include "runtime/Failure.h"

namespace testsupport {

// The number of the runtime::Failure that an action raises; 0 when it raises none.
int failureNumberOf(const auto& action) {
    try {
        action();
    } catch (const runtime::Failure& failure) {
        return failure.number();
    }
    return 0;
}

} // namespace testsupport
