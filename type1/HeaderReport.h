#pragma once

#include <string>

#include "fontcore/FontReport.h"
#include "platform/FontFileReader.h"

// The details-pane report of a Type 1 font file: its header's opening lines and four of its
// entries.
namespace type1 {

// The report of the .pfb file at fontPath (UTF-8), one CR LF after every line:
//   "Name info for " + fontPath
//   the header from just after the first "%!" up to the end of the first "begin" after it,
//   each CR in it followed by an LF (other bytes, lone LFs included, unchanged)
//   the values of /version, /FullName, /FamilyName and /Weight, one to a line, untrimmed.
// Any failure (a file gone since the list was read, a failed read, a piece missing from the
// header) gives the shared failure text instead, with nothing of what was built before it.
// Never throws; the file is closed before it returns.
fontcore::FontReport T1Report(const std::string& fontPath);

// The same report over a reader that is already open (the file, or bytes in memory), without
// the existence test. fontPath is only shown. Never throws.
fontcore::FontReport T1ReportFromReader(platform::FontFileReader& reader,
                                        const std::string& fontPath);

// The same over a file that opens as text (HeaderLayout::Text): .pfa and .t1.
fontcore::FontReport T1TextReportFromReader(platform::FontFileReader& reader,
                                            const std::string& fontPath);

} // namespace type1
