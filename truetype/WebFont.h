#pragma once

#include "runtime/FontFileReader.h"
#include "runtime/FontReport.h"
#include "runtime/FullName.h"
#include "runtime/NameDecoding.h"

#include <string>

// Web fonts (.woff, .woff2): an sfnt in a compressed wrapper, told apart by the wrapper's
// signature rather than by the file's extension. Each reads as the font it wraps.
namespace truetype {

// The TrueType lookup's full name of the wrapped font; a file that is neither kind, or whose
// wrapper is damaged, overflows. Never throws.
runtime::FullName
webFontNameFromReader(runtime::FontFileReader& font,
                      runtime::NameDecoding decoding = runtime::NameDecoding::ByteWise);

// The TrueType report of the wrapped font, its title line naming fontPath; the failure text
// for a file that is neither kind or whose wrapper is damaged. Never throws.
runtime::FontReport
webFontReportFromReader(runtime::FontFileReader& font, const std::string& fontPath,
                        runtime::NameDecoding decoding = runtime::NameDecoding::ByteWise);

} // namespace truetype
