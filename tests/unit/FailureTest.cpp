#include "runtime/Failure.h"

#include <cerrno>
#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

using runtime::Failure;
using runtime::FailureNumber;

// The descriptions are what users see, and the lookups' results are "error: " + description,
// so a changed text is a visible change.
TEST(Failure, DescriptionsByNumber) {
    const struct {
        int number;
        const char* description;
    } cases[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {51, "Internal error"},
        {53, "File not found"},
        {57, "Device I/O error"},
        {61, "Disk full"},
        {63, "Bad record number"},
        {70, "Permission denied"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {0, "Application-defined or object-defined error"},
        {54, "Application-defined or object-defined error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::failureDescription(c.number), c.description) << c.number;
    }
}

TEST(Failure, CarriesNumberAndDescription) {
    const Failure fromEnum(FailureNumber::FileNotFound);
    EXPECT_EQ(fromEnum.number(), 53);
    EXPECT_EQ(fromEnum.description(), "File not found");
    EXPECT_STREQ(fromEnum.what(), "File not found");

    const Failure custom(1000, "Something else");
    EXPECT_EQ(custom.number(), 1000);
    EXPECT_EQ(custom.description(), "Something else");
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
        EXPECT_EQ(runtime::failureFromErrno(c.error).number(), c.number) << c.error;
    }
}

} // namespace

namespace {

int numberOfCurrent(const auto& thrower) {
    try {
        thrower();
    } catch (...) {
        return runtime::currentFailure().number();
    }
    return -1;
}

} // namespace

TEST(Failure, ExceptionsInFlightBecomeFailures) {
    // The lookups turn whatever escapes into a failure text; these are the numbers they get.
    EXPECT_EQ(numberOfCurrent([] { throw Failure(FailureNumber::Overflow); }), 6);
    EXPECT_EQ(numberOfCurrent([] { throw std::bad_alloc(); }), 7);
    EXPECT_EQ(numberOfCurrent([] { throw std::length_error("too long"); }), 51);
    EXPECT_EQ(numberOfCurrent([] { throw 42; }), 51);
}
