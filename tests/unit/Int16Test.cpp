#include "truetype/Int16.h"

#include <gtest/gtest.h>

namespace {

namespace int16 = truetype::int16;

// Name-record fields are high * 256 + low; a high byte of 128 or more is an overflow, not a
// negative value.
TEST(Int16, FromBytes) {
    EXPECT_EQ(int16::fromBytesOrNone(0x00, 0x00), 0);
    EXPECT_EQ(int16::fromBytesOrNone(0x04, 0x09), 0x0409);
    EXPECT_EQ(int16::fromBytesOrNone(0x7F, 0xFF), 32767);
    EXPECT_FALSE(int16::fromBytesOrNone(0x80, 0x00));
    EXPECT_FALSE(int16::fromBytesOrNone(0xFF, 0xFF));
}

} // namespace
