#include "cli/ConsoleText.h"

#include <string_view>

#include <gtest/gtest.h>

namespace {

TEST(ConsoleText, CompleteUtf8LengthStopsBeforeACharacterStillMissingBytes) {
    const struct {
        std::string_view text;
        std::size_t expected;
    } cases[] = {
        {"", 0},
        {"name\tpath\n", 10},
        // Whole characters of two, three and four bytes.
        {"\xCE\xA9", 2},
        {"a\xE2\x82\xAC", 4},
        {"\xF0\x9F\x98\x80", 4},
        // The first bytes of those characters wait for the rest.
        {"a\xCE", 1},
        {"a\xE2\x82", 1},
        {"ab\xF0\x9F\x98", 2},
        {"\xF0", 0},
        // Bytes that no character begins with, or stray continuation bytes, go out as they are.
        {"a\xFF", 2},
        {"a\xC0", 2},
        {"a\xF5", 2},
        {"a\x82\x82\x82", 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::completeUtf8Length(c.text), c.expected) << testing::PrintToString(c.text);
    }
}

} // namespace
