#pragma once

#include "fontcore/FontReport.h"
#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"
#include "truetype/SfntFaces.h"

#include <string>

namespace truetype {

// The details-pane text for an sfnt font file. For each font: a title line with the path, the
// record count, then one line per record of platform 0 to 3 with its platform, language and
// name-ID labels and its string (decoded as the lookup decodes its name); every line ends with
// CR LF. For readable names, a language or name ID without a label of its own is labelled by
// its English name or its OpenType meaning (ReadableLabels.h). Records of platform 4 and up
// are counted but get no line. A collection or suitcase
// heads each of its fonts with a line "Font 1 of 3" (and so on).
//
// Any failure is raised, with nothing of what was built: an overflow in a field the report
// needs, a damaged header, map or wrapper, a failing read, and a file whose fonts together need
// more than the report may read (a header listing the same font over and over), which is out of
// memory.
fontcore::FontReport nameReport(platform::FontFileReader& file, SfntContainer container,
                                const std::string& fontPath,
                                fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace truetype
