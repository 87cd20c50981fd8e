#include "platform/Failure.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

using platform::Failure;
using platform::FailureNumber;

TEST(Failure, AValueOutsideTheListDescribesItselfAsApplicationDefined) {
    EXPECT_EQ(platform::failureDescription(static_cast<FailureNumber>(54)),
              "Application-defined or object-defined error");
}

// The file operations' own tests raise 53, 61, 70, 75 and 76 from real files; these two causes
// cannot be brought about there (a failing device, a full quota).
TEST(Failure, ADeviceErrorAndAFullQuotaHaveTheirOwnNumbers) {
    EXPECT_EQ(platform::failureFromErrno(EIO).number(), 57);
#ifdef EDQUOT
    EXPECT_EQ(platform::failureFromErrno(EDQUOT).number(), 61);
#endif
}

// Messages name the cause beside the number: many causes share 75.
TEST(Failure, CauseIsTheProgramsOwnElseTheSystemsTextElseTheDescription) {
    const Failure fromSystem = platform::failureFromErrno(ENAMETOOLONG);
    EXPECT_EQ(fromSystem.systemError(), ENAMETOOLONG);
    EXPECT_EQ(fromSystem.cause(), std::strerror(ENAMETOOLONG));
    EXPECT_NE(fromSystem.cause(), fromSystem.description());
    EXPECT_EQ(Failure(FailureNumber::PathFileAccess, "a directory is in the way").cause(),
              "a directory is in the way");
    EXPECT_EQ(Failure(FailureNumber::DiskFull).cause(), "Disk full");
}

int numberOfCurrent(const auto& thrower) {
    try {
        thrower();
    } catch (...) {
        return platform::currentFailure().number();
    }
    return -1;
}

TEST(Failure, ExceptionsInFlightBecomeFailures) {
    // The lookups turn whatever escapes into a failure; these are the numbers they get.
    EXPECT_EQ(numberOfCurrent([] { throw Failure(FailureNumber::Overflow); }), 6);
    EXPECT_EQ(numberOfCurrent([] { throw std::bad_alloc(); }), 7);
    EXPECT_EQ(numberOfCurrent([] { throw std::length_error("too long"); }), 51);
    EXPECT_EQ(numberOfCurrent([] { throw 42; }), 51);
}

} // namespace
