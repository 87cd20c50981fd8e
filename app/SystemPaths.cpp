#include "app/SystemPaths.h"

#include "platform/NativePath.h"

#include <QDir>
#include <QStorageInfo>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace app::paths {

namespace {

// Whether the bytes survive decoding as UTF-8 and encoding again, so that Qt can name the
// same file with them.
bool isUtf8(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString() ==
           bytes;
}

} // namespace

std::string normalisedDirectory(const std::string& directory) {
    if (directory.empty()) {
        return {};
    }
    std::error_code error;
    std::filesystem::path path =
        std::filesystem::absolute(platform::path::native(directory), error);
    if (error) {
        path = platform::path::native(directory);
    }
    path = path.lexically_normal();
    // "/a/b/" names "/a/b"; a root keeps its separator.
    if (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    return platform::path::utf8(path);
}

std::vector<std::string> chainOf(const std::string& directory) {
    std::vector<std::string> chain;
    std::filesystem::path path = platform::path::native(normalisedDirectory(directory));
    if (path.empty()) {
        return chain;
    }
    for (;;) {
        chain.insert(chain.begin(), platform::path::utf8(path));
        std::filesystem::path parent = path.parent_path();
        if (parent.empty() || parent == path) {
            break;
        }
        path = std::move(parent);
    }
    return chain;
}

bool isRoot(const std::string& directory) {
    const std::filesystem::path path = platform::path::native(directory);
    return !path.empty() && !path.has_relative_path();
}

std::string lastPart(const std::string& directory) {
    if (isRoot(directory)) {
        return directory;
    }
    return platform::path::utf8(platform::path::native(directory).filename());
}

QString forDisplay(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string fromQt(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

QString volumeRootOf(const std::string& directory) {
    // Qt finds a volume by a path it can name. A mount point lies on the path's chain, so the
    // deepest part of the chain that is valid UTF-8 lies on the same volume, unless a volume is
    // mounted below a directory whose name is not UTF-8.
    const std::vector<std::string> chain = chainOf(directory);
    for (auto part = chain.rbegin(); part != chain.rend(); ++part) {
        if (isUtf8(*part)) {
            return QStorageInfo(forDisplay(*part)).rootPath();
        }
    }
    return {};
}

std::string currentDirectory() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string() : platform::path::utf8(current);
}

std::string homeDirectory() {
#ifndef _WIN32
    // The environment holds the bytes; QDir::homePath() would decode them.
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
#endif
    return fromQt(QDir::homePath());
}

std::string rootDirectory() {
    return fromQt(QDir::rootPath());
}

} // namespace app::paths
