#pragma once

#include <string>
#include <string_view>

namespace platform::path {

// The directory separator of the system, as the program writes it into paths it builds.
#ifdef _WIN32
inline constexpr char separator = '\\';
#else
inline constexpr char separator = '/';
#endif

// A directory followed by one separator: nothing is added when it ends with one already, so
// a root directory ("/", "C:\") keeps a single one.
inline std::string withTrailingSeparator(std::string_view directory) {
    std::string result(directory);
    if (result.empty() || result.back() != separator) {
        result += separator;
    }
    return result;
}

// A directory and a name within it, with exactly one separator between them.
inline std::string join(std::string_view directory, std::string_view name) {
    std::string result = withTrailingSeparator(directory);
    result += name;
    return result;
}

} // namespace platform::path
