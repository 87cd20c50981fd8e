#pragma once

// The causes of the copy's failures 75 that the program finds itself, the same on every system.
namespace platform::fs::cause {

inline constexpr const char* kSizeNotReal =
    "it lies on a system file system whose file sizes are not real (such as /proc or /sys)";
inline constexpr const char* kYieldsMore = "it yields more bytes than its size says";
inline constexpr const char* kChangedWhileCopied =
    "it changed while it was copied (its size or contents are not those it had when opened)";
inline constexpr const char* kNotRegular = "it is not a regular file";
inline constexpr const char* kReadOnlyTarget = "a read-only file of that name is in the way";
inline constexpr const char* kDirectoryTarget = "a directory of that name is in the way";

} // namespace platform::fs::cause
