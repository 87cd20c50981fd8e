#pragma once

#include "fontcore/FontFacts.h"
#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"
#include "truetype/SfntFaces.h"

// What the name tables of an sfnt font file tell of each of its fonts.
namespace truetype {

// For every font of the file, in order: the strings of the name IDs 4 (full name), 5 (version),
// 6 (PostScript name), 8 (manufacturer), 9 (designer) and 14 (licence URL), with 13 (licence)
// for the page, with 0 (copyright), 11 (vendor URL), 16 and 17 (family and style, else 1 and 2)
// for the list; each the record of
// that ID that the decoding chooses, decoded as it says: byte-wise, the record the full-name
// lookup's byte-wise rule takes, each byte one Windows-1252 character; readable, the record in
// the decoding's language, US English, any English, Macintosh English, else the byte-wise one,
// in UTF-16BE for platforms 0 and 3, Mac Roman for Macintosh Roman. NULs dropped, the result
// valid UTF-8 either way; the full name is the one the full-name lookup gives under that
// decoding. One walk of the records per font. A field whose record has no place that holds
// (its length or offset overflows) is left empty, except the full name for the list, which
// fails as the lookup fails. Raised: a damaged collection
// header, resource map or wrapper, a name table that overflows, a failing read, and a file that
// lists the same strings or fonts over and over beyond what its size backs (out of memory).
fontcore::FontFacts nameFacts(platform::FontFileReader& file, SfntContainer container,
                              fontcore::NameDecoding decoding, fontcore::FactsUse use);

} // namespace truetype
