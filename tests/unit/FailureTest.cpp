#include "platform/Failure.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

using platform::Failure;
using platform::FailureNumber;

// Users see the numbers ("Error  53") and the descriptions (a lookup's "error: Overflow"), so
// a changed number or text is a visible change. These are the ones the program's texts fix.
TEST(Failure, CarriesTheNumberAndDescriptionUsersSee) {
    const struct {
        FailureNumber failure;
        int number;
        const char* description;
    } cases[] = {
        {FailureNumber::InvalidArgument, 5, "Invalid procedure call or argument"},
        {FailureNumber::Overflow, 6, "Overflow"},
        {FailureNumber::FileNotFound, 53, "File not found"},
        {FailureNumber::PathFileAccess, 75, "Path/File access error"},
    };
    for (const auto& c : cases) {
        const Failure failure(c.failure);
        EXPECT_EQ(failure.number(), c.number) << c.description;
        EXPECT_EQ(failure.description(), c.description);
        EXPECT_STREQ(failure.what(), c.description);
        EXPECT_TRUE(failure.is(c.failure)) << c.description;
    }
    EXPECT_FALSE(Failure(FailureNumber::FileNotFound).is(FailureNumber::PathNotFound));
}

TEST(Failure, AValueOutsideTheListDescribesItselfAsApplicationDefined) {
    EXPECT_EQ(platform::failureDescription(static_cast<FailureNumber>(54)),
              "Application-defined or object-defined error");
}

TEST(Failure, FromErrno) {
    const struct {
        int error;
        int number;
    } cases[] = {
        {ENOENT, 53}, {ENOTDIR, 76}, {EACCES, 70}, {EPERM, 70},  {ENOSPC, 61},
#ifdef EDQUOT
        {EDQUOT, 61},
#endif
        {EIO, 57},    {EEXIST, 75},  {EROFS, 75},  {EISDIR, 75},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::failureFromErrno(c.error).number(), c.number) << c.error;
    }
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
