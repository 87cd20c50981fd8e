#include "platform/FolderWalk.h"

namespace platform {

// Placeholder until the walk is built: the top folder alone is not walked.
bool walkFolders(const std::string& /*top*/, std::string_view /*patterns*/,
                 const WalkOptions& /*options*/, FolderVisitor& /*visitor*/) {
    return false;
}

} // namespace platform
