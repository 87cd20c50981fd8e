#pragma once

#include "fontcore/FullName.h"
#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"
#include "truetype/SfntFaces.h"

// The full name of an sfnt font file: that of its first font.
namespace truetype {

// The full font name: the last platform-3 record with name ID 4, else the first platform-0 or
// platform-1 one; the empty name when no record qualifies. Decoded byte by byte as
// Windows-1252 by default. For readable names, the record in the decoding's language where the
// font has one, else in English, else the same record, decoded as its platform and encoding
// give it; not trimmed. A font whose name table overflows (as a file that is no TrueType
// font does) gives the failure in the result; a damaged collection header, resource map or
// wrapper, and a failing read, are raised.
fontcore::FullName fullName(platform::FontFileReader& file, SfntContainer container,
                            fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace truetype
