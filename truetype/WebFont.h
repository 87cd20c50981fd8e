#pragma once

#include "fontcore/FontReport.h"
#include "fontcore/FullName.h"
#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"

#include <string>

// Web fonts (.woff, .woff2): an sfnt in a compressed wrapper, told apart by the wrapper's
// signature rather than by the file's extension. Each reads as the font it wraps.
namespace truetype {

// The TrueType lookup's full name of the wrapped font; a file that is neither kind, or whose
// wrapper is damaged, overflows. Never throws.
fontcore::FullName
webFontNameFromReader(platform::FontFileReader& font,
                      fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The TrueType report of the wrapped font, its title line naming fontPath; the failure text
// for a file that is neither kind or whose wrapper is damaged. Never throws.
fontcore::FontReport
webFontReportFromReader(platform::FontFileReader& font, const std::string& fontPath,
                        fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace truetype
