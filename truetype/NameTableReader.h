#pragma once

#include "fontcore/FullName.h"
#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"

#include <cstdint>
#include <string>

// The full name of a TrueType or OpenType font, or of the first font of a collection.
namespace truetype {

// The full font name: the last platform-3 record with name ID 4, else the first platform-0 or
// platform-1 one; the empty name when no record qualifies. Decoded byte by byte as
// Windows-1252 by default, or as its platform and encoding give it under the Unicode
// decoding; not trimmed. Every failure becomes the result's failure (a file that is no
// TrueType font overflows); it never throws. The file is closed before it returns.
fontcore::FullName
TTEnglishName(const std::string& TTPath,
              fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The same over a reader that is already open (a file or bytes in memory), for the font whose
// offset table lies at offsetTableAt: 0 for a font file, the offset a collection's header
// gives for one of its fonts.
fontcore::FullName
TTEnglishNameFromReader(platform::FontFileReader& font, std::int64_t offsetTableAt = 0,
                        fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The full name of a font collection (.ttc, .otc): that of its first font. A damaged
// collection header overflows.
fontcore::FullName
TTCEnglishName(const std::string& path,
               fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The same over a reader that is already open.
fontcore::FullName
TTCEnglishNameFromReader(platform::FontFileReader& font,
                         fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The full name of a Mac data-fork suitcase (.dfont): that of its first "sfnt" resource. A
// damaged resource map overflows.
fontcore::FullName
SuitcaseEnglishNameFromReader(platform::FontFileReader& font,
                              fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace truetype
