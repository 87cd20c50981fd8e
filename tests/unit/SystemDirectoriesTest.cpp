#include "fontlist/SystemDirectories.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/PathText.h"
#include "support/TempDir.h"

#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using testsupport::TempDir;

// A bind mount of the font directory is the font directory under a path of its own: no
// comparison of texts or of resolved links finds it, its device and inode do.
TEST(SystemDirectories, ABindMountOfTheFontDirectoryIsTheFontDirectory) {
#ifndef __linux__
    GTEST_SKIP() << "bind mounts are a Linux fixture";
#else
    const TempDir dir;
    std::filesystem::create_directories(dir.path() / "fonts" / "sub");
    std::filesystem::create_directories(dir.path() / "mounted");
    std::filesystem::create_directories(dir.path() / "elsewhere");
    const std::string fontsDir = dir.file("fonts") + platform::path::separator;
    const std::string mounted = dir.file("mounted");

    // In a child with a mount namespace of its own, so that nothing is left mounted.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(dir.file("fonts").c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            ::_exit(77);
        }
        const bool mount = fontlist::liesInFontDirectory(mounted, {}, fontsDir);
        const bool below = fontlist::liesInFontDirectory(mounted + "/sub", "friendly/", fontsDir);
        const bool other = fontlist::liesInFontDirectory(dir.file("elsewhere"), {}, fontsDir);
        ::_exit(mount && below && !other ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no mount namespace here (needs root)";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "the bind mount, or a folder below it, was not taken for the font directory, or a "
           "folder beside it was";
#endif
}

} // namespace
