#include "runtime/Int16.h"

#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

#include "runtime/Failure.h"

namespace {

namespace int16 = runtime::int16;

// Expects failure 6 with the description the TrueType lookup turns into "error: Overflow".
void expectOverflow(const std::function<void()>& action) {
    try {
        action();
        ADD_FAILURE() << "no overflow raised";
    } catch (const runtime::Failure& failure) {
        EXPECT_EQ(failure.number(), 6);
        EXPECT_EQ(failure.description(), "Overflow");
    }
}

TEST(Int16, CheckedKeepsTheSigned16BitRange) {
    EXPECT_EQ(int16::checked(32767), 32767);
    EXPECT_EQ(int16::checked(-32768), -32768);
    expectOverflow([] { int16::checked(32768); });
    expectOverflow([] { int16::checked(-32769); });
    expectOverflow([] { int16::checked(INT64_MAX); });
    expectOverflow([] { int16::checked(INT64_MIN); });
}

// Name-record fields are high * 256 + low; a high byte of 128 or more is an overflow, not a
// negative value.
TEST(Int16, FromBytes) {
    EXPECT_EQ(int16::fromBytes(0x00, 0x00), 0);
    EXPECT_EQ(int16::fromBytes(0x04, 0x09), 0x0409);
    EXPECT_EQ(int16::fromBytes(0x7F, 0xFF), 32767);
    expectOverflow([] { int16::fromBytes(0x80, 0x00); });
    expectOverflow([] { int16::fromBytes(0xFF, 0xFF); });
    EXPECT_EQ(int16::fromBytesOrNone(0x7F, 0xFF), 32767);
    EXPECT_FALSE(int16::fromBytesOrNone(0x80, 0x00));
}

TEST(Int16, AddAndMultiplyOverflowBothWays) {
    EXPECT_EQ(int16::add(32766, 1), 32767);
    EXPECT_EQ(int16::add(-32767, -1), -32768);
    expectOverflow([] { int16::add(32767, 1); });
    expectOverflow([] { int16::add(-32768, -1); });

    // The directory search computes 16 * i + 13: entry 2047 still fits, 2048 does not.
    EXPECT_EQ(int16::add(int16::multiply(16, 2047), 13), 32765);
    expectOverflow([] { int16::multiply(16, 2048); });
    EXPECT_EQ(int16::multiply(-16, 2048), -32768);
    expectOverflow([] { int16::multiply(-16, 2049); });
    expectOverflow([] { int16::multiply(-32768, -1); });
}

} // namespace
