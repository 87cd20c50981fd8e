#pragma once

#include <string>

namespace platform {

// The system's Windows directory as the program sees it: on Windows what GetWindowsDirectoryA
// writes into a buffer of 255 characters (the first n characters, n being its result; empty
// when it fails), decoded to UTF-8; on every other system "/usr/share", so that the system
// font directory is /usr/share/fonts/.
std::string systemFontRoot();

} // namespace platform
