#include "platform/PathText.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace {

// A path written with "/" in the system's own separator.
std::string native(std::string path) {
    std::replace(path.begin(), path.end(), '/', platform::path::separator);
    return path;
}

TEST(PathText, OneSeparatorBetweenDirectoryAndName) {
    const struct {
        const char* directory;
        const char* name;
        const char* path;
    } cases[] = {
        {"/home/fonts", "a.ttf", "/home/fonts/a.ttf"},
        {"/home/fonts/", "a.ttf", "/home/fonts/a.ttf"},
        {"/", "a.ttf", "/a.ttf"}, // a root directory keeps its single separator
        {"", "a.ttf", "/a.ttf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::path::join(native(c.directory), c.name), native(c.path)) << c.directory;
    }
    EXPECT_EQ(platform::path::withTrailingSeparator(native("/")), native("/"));
    EXPECT_EQ(platform::path::withTrailingSeparator(native("/x")), native("/x/"));
}

} // namespace
