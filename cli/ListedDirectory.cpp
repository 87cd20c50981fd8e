#include "cli/ListedDirectory.h"

#include "cli/UsageError.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <filesystem>
#include <system_error>

namespace cli {

std::string listedDirectory(const std::string& operand) {
    if (operand.empty()) {
        throw UsageError("the directory name is empty");
    }
    std::error_code error;
    std::filesystem::path absolute =
        std::filesystem::absolute(platform::path::native(operand), error);
    if (error) {
        throw UsageError("cannot find directory '" + operand + "': " + error.message());
    }
    absolute = absolute.lexically_normal().make_preferred();
    std::string directory = platform::path::utf8(absolute);
    // "dir/" comes out of the normal form with its separator; a root keeps its own.
    if (absolute.has_relative_path() && !directory.empty() &&
        directory.back() == static_cast<char>(std::filesystem::path::preferred_separator)) {
        directory.pop_back();
    }
    try {
        if (!platform::fs::fileAttributes(directory).directory) {
            throw UsageError("'" + operand + "' is not a directory");
        }
        platform::fs::requireListableDirectory(directory);
    } catch (const platform::Failure& failure) {
        const bool missing = failure.is(platform::FailureNumber::FileNotFound) ||
                             failure.is(platform::FailureNumber::PathNotFound);
        throw UsageError(missing
                             ? "no such directory '" + operand + "'"
                             : "cannot list directory '" + operand + "': " + failure.description());
    }
    return directory;
}

} // namespace cli
