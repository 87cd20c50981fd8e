#pragma once

#include <string>

#include "fontcore/FontReport.h"
#include "platform/FontFileReader.h"
#include "type1/HeaderWindow.h"

// The details-pane report of a Type 1 font file: its header's opening lines and four of its
// entries.
namespace type1 {

// The report of the Type 1 file that reader reads, one CR LF after every line:
//   "Name info for " + fontPath (only shown)
//   the header from just after the first "%!" up to the end of the first "begin" after it,
//   each CR in it followed by an LF (other bytes, lone LFs included, unchanged)
//   the values of /version, /FullName, /FamilyName and /Weight, one to a line, untrimmed.
// Any failure (a failed read, a piece missing from the header: failure 5) is raised, with
// nothing of what was built before it.
fontcore::FontReport headerReport(platform::FontFileReader& reader, HeaderLayout layout,
                                  const std::string& fontPath);

} // namespace type1
