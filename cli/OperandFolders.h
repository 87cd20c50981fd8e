#pragma once

#include "cli/CommandLine.h"
#include "platform/FolderWalk.h"

namespace cli {

// Hands the visitor the DIR operand's font files: its whole tree as the walk gives it with
// --recursive, else the folder's own files, named under the operand as given. Returns whether
// no folder was lost.
bool visitOperandFolders(const Request& request, platform::FolderVisitor& visitor);

} // namespace cli
