#include "cli/OperandFolders.h"

#include "cli/ListedDirectory.h"
#include "platform/DirectoryListing.h"
#include "platform/FontFileReader.h"
#include "platform/PathText.h"

#include <string>

namespace cli {

bool visitOperandFolders(const Request& request, platform::FolderVisitor& visitor) {
    const std::string& operand = request.operands.at(0);
    const std::string directory = listedDirectory(operand);
    if (request.recursive) {
        return platform::walkFolders(operand, request.pattern, request.walk, visitor);
    }
    const text::TextList names = platform::listMatchingFileNames(directory, request.pattern);
    const platform::ListingDirectory held(directory);
    const std::string path = platform::path::withTrailingSeparator(operand);
    visitor.visit({.directory = held, .path = path, .relative = {}, .files = names});
    return true;
}

} // namespace cli
