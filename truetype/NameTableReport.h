#pragma once

#include "fontcore/FontReport.h"
#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"

#include <string>

namespace truetype {

// The details-pane text for a TrueType file: a title line with the path, the record count,
// then one line per record of platform 0 to 3 with its platform, language and name-ID labels
// and its string (decoded as the lookup decodes its name); every line ends with CR LF. Records of
// platform 4 and up are counted but get no line. Any failure (among them a file that has gone,
// reported so that the file list is read again) gives the failure text instead; it never throws.
fontcore::FontReport TTReport(const std::string& fontPath,
                              fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The report over a reader that is already open, without the existence test of the path.
fontcore::FontReport
TTReportFromReader(platform::FontFileReader& font, const std::string& fontPath,
                   fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The details-pane text for a font collection (.ttc, .otc): for each font of its header, in
// order, a heading line "Font 1 of 3" (and so on) followed by that font's report as above. A
// damaged header, or a failure in any font's report, gives the failure text instead; so does
// a collection whose fonts together need more than the report may read (a header listing the
// same font over and over). Never throws.
fontcore::FontReport TTCReport(const std::string& fontPath,
                               fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The collection's report over a reader that is already open.
fontcore::FontReport
TTCReportFromReader(platform::FontFileReader& font, const std::string& fontPath,
                    fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The report of a Mac data-fork suitcase (.dfont), as a collection's: a heading and a report
// for each of its "sfnt" resources, in map order. A damaged resource map gives the failure
// text, as a damaged collection header does. Never throws.
fontcore::FontReport
SuitcaseReportFromReader(platform::FontFileReader& font, const std::string& fontPath,
                         fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace truetype
