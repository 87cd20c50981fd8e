#pragma once

#include "runtime/FontFileReader.h"
#include "runtime/FontReport.h"

#include <string>

namespace truetype {

// The details-pane text for a TrueType file: a title line with the path, the record count,
// then one line per record of platform 0 to 3 with its platform, language and name-ID labels
// and its string; every line ends with CR LF. Records of platform 4 and up are counted but get
// no line. Any failure (among them a file that has gone, reported so that the file list is
// read again) gives the failure text instead; it never throws.
runtime::FontReport TTReport(const std::string& fontPath);

// The report over a reader that is already open, without the existence test of the path.
runtime::FontReport TTReportFromReader(runtime::FontFileReader& font, const std::string& fontPath);

} // namespace truetype
