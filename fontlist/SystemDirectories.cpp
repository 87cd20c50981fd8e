#include "fontlist/SystemDirectories.h"

#include "runtime/FileSystem.h"
#include "runtime/PathText.h"
#include "runtime/Text.h"

namespace fontlist {

namespace {

bool occursIn(const std::string& path, const std::string& fontsDir) {
    return runtime::text::foldCaseUtf8(path).find(runtime::text::foldCaseUtf8(fontsDir)) !=
           std::string::npos;
}

// A directory's real path with one trailing separator.
std::string resolvedDirectory(std::string directory) {
    if (directory.size() > 1 && directory.back() == runtime::path::separator) {
        directory.pop_back();
    }
    return runtime::path::withTrailingSeparator(runtime::fs::realPath(directory));
}

} // namespace

void recordSystemDirectories(BatchState& state, std::string_view windowsDirectory) {
    state.WindowsDir = runtime::text::foldCaseUtf8(windowsDirectory);
    state.FontsDir =
        state.WindowsDir + runtime::path::separator + "fonts" + runtime::path::separator;
}

bool liesInFontDirectory(const std::string& directory, std::string_view below,
                         const std::string& fontsDir) {
    if (fontsDir.empty()) {
        return false;
    }
    if (occursIn(runtime::path::withTrailingSeparator(directory) + std::string(below), fontsDir)) {
        return true;
    }
    return occursIn(resolvedDirectory(directory) + std::string(below), resolvedDirectory(fontsDir));
}

} // namespace fontlist
