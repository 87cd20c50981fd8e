#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::path {

// A UTF-8 path as the system's own path: wide characters on Windows, the same bytes elsewhere.
inline std::filesystem::path native(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// The UTF-8 form of a system path: the inverse of native.
inline std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// For a path that was not found: whether the nearest part of it that exists is a file rather
// than a directory, so that the rest cannot be below it. POSIX systems tell this case apart
// (ENOTDIR, a missing path); Windows reports it like any missing file.
inline bool blockedByFile(const std::filesystem::path& path) {
    std::error_code error;
    for (std::filesystem::path part = path.parent_path(); !part.empty();
         part = part.parent_path()) {
        const std::filesystem::file_status status = std::filesystem::status(part, error);
        if (std::filesystem::exists(status)) {
            return !std::filesystem::is_directory(status);
        }
        if (part == part.parent_path()) {
            break; // a root that is not there
        }
    }
    return false;
}

} // namespace platform::path
