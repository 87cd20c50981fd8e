#include "fontlist/WindowsDeviceNames.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace fontlist {

namespace {

// The device names in upper case, the superscript digits in UTF-8 ("\xC2\xB9" is U+00B9).
// clang-format off
constexpr std::array<std::string_view, 32> kDeviceNames{
    "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$",
    "COM0", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9",
    "COM\xC2\xB9", "COM\xC2\xB2", "COM\xC2\xB3",
    "LPT0", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
    "LPT\xC2\xB9", "LPT\xC2\xB2", "LPT\xC2\xB3"};
// clang-format on

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isDeviceName(std::string_view part) {
    return std::any_of(kDeviceNames.begin(), kDeviceNames.end(), [part](std::string_view name) {
        return std::equal(part.begin(), part.end(), name.begin(), name.end(),
                          [](char a, char b) { return upperAscii(a) == b; });
    });
}

} // namespace

std::string withoutDeviceName(std::string_view fileName) {
    std::string_view part = fileName.substr(0, fileName.find('.'));
    while (!part.empty() && part.back() == ' ') {
        part.remove_suffix(1);
    }
    const std::size_t end = part.size();
    while (!part.empty() && part.front() == ' ') {
        part.remove_prefix(1);
    }
    std::string result(fileName);
    if (isDeviceName(part)) {
        result.insert(end, 1, '_');
    }
    return result;
}

std::string fileNameForThisSystem(std::string fileName) {
#ifdef _WIN32
    return withoutDeviceName(fileName);
#else
    return fileName;
#endif
}

} // namespace fontlist
