#include "fontlist/SystemDirectories.h"

#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "text/Text.h"

#include <optional>
#include <string>

namespace fontlist {

namespace {

bool occursIn(const std::string& path, const std::string& fontsDir) {
    return text::foldCaseUtf8(path).find(text::foldCaseUtf8(fontsDir)) != std::string::npos;
}

// A directory's real path with one trailing separator.
std::string resolvedDirectory(std::string directory) {
    if (directory.size() > 1 && directory.back() == platform::path::separator) {
        directory.pop_back();
    }
    return platform::path::withTrailingSeparator(platform::fs::realPath(directory));
}

// Whether the directory or one of the directories above it is the font directory itself, known
// by its device and inode: a bind mount of the font directory (or of a folder above it) has a
// path of its own that no text comparison finds, but the same identity.
bool isWithinByIdentity(const std::string& directory, const std::string& fontsDir) {
    const std::optional<platform::fs::FileIdentity> fonts = platform::fs::identityOf(fontsDir);
    if (!fonts) {
        return false;
    }
    std::string path = resolvedDirectory(directory);
    while (!path.empty()) {
        if (platform::fs::identityOf(path) == fonts) {
            return true;
        }
        // Up one level: the path without its last name (and the separator after it).
        if (path.size() < 2) {
            break;
        }
        const std::size_t slash = path.find_last_of(platform::path::separator, path.size() - 2);
        if (slash == std::string::npos) {
            break;
        }
        path.resize(slash + 1);
    }
    return false;
}

} // namespace

void recordSystemDirectories(BatchState& state, std::string_view systemFontRoot) {
    state.WindowsDir = text::foldCaseUtf8(systemFontRoot);
    state.FontsDir =
        state.WindowsDir + platform::path::separator + "fonts" + platform::path::separator;
}

bool liesInFontDirectory(const std::string& directory, std::string_view below,
                         const std::string& fontsDir) {
    if (fontsDir.empty()) {
        return false;
    }
    if (occursIn(platform::path::withTrailingSeparator(directory) + std::string(below), fontsDir)) {
        return true;
    }
    return occursIn(resolvedDirectory(directory) + std::string(below),
                    resolvedDirectory(fontsDir)) ||
           isWithinByIdentity(directory, fontsDir);
}

} // namespace fontlist
