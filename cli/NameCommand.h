#pragma once

#include "cli/Console.h"

#include <string>
#include <vector>

namespace cli {

// The full name of a font file as the batch runs get it: TTEnglishName for ".ttf", T1Name for
// ".pfb" (by the last four characters, without regard to case), untrimmed; for any other file
// "error: not a .ttf or .pfb file". Never throws.
std::string fullNameOf(const std::string& path);

// "name FILE...": one line per file on the output, the full name, a tab and the path as given.
// kSuccess when every name was read, kNotFinished when any of them is an error text.
int runNameCommand(const std::vector<std::string>& files, Console& console);

} // namespace cli
