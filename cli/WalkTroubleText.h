#pragma once

#include "cli/Console.h"
#include "platform/FolderWalk.h"

namespace cli {

// Tells what a folder walk could not do on the error stream, escaped on a terminal:
// "quillvane-cli: cannot read folder 'PATH': CAUSE" for a folder lost, else
// "quillvane-cli: 'PATH' CAUSE" ("leads back to a folder already walked ('OTHER'); ...").
void tellWalkTrouble(const platform::WalkTrouble& trouble, Console& console);

} // namespace cli
