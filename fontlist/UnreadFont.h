#pragma once

#include "platform/Failure.h"

namespace fontlist {

// Whether a lookup's failure says that the font's file could not be read (no memory for it, a
// file that may not be read or has gone, too many files open, a failing device, an unexpected
// fault) rather than something about what the file holds (a name table that overflows, a
// header without the name). Both batch runs count such a font as not done.
inline bool couldNotBeRead(const platform::Failure& failure) noexcept {
    using platform::FailureNumber;
    return !failure.is(FailureNumber::Overflow) && !failure.is(FailureNumber::InvalidArgument) &&
           !failure.is(FailureNumber::BadRecordNumber);
}

} // namespace fontlist
