#include "platform/SystemFontRoot.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

TEST(WindowsDirectory, IsTheDirectoryTheSystemReports) {
#ifndef _WIN32
    GTEST_SKIP() << "only Windows has a Windows directory";
#else
    const std::string directory = platform::systemFontRoot();
    ASSERT_FALSE(directory.empty());
    EXPECT_TRUE(std::filesystem::is_directory(testsupport::pathFromUtf8(directory))) << directory;
    EXPECT_NE(directory.back(), '\\') << "no trailing separator";
    // The same directory as the wide-character call names it (the ANSI call and its decoding
    // agree for the usual directory, whose name is ASCII).
    wchar_t wide[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(wide, MAX_PATH + 1);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(directory,
              testsupport::utf8FromPath(std::filesystem::path(std::wstring(wide, length))));
#endif
}

} // namespace
