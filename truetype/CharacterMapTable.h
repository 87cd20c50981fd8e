#pragma once

#include "platform/FontFileReader.h"
#include "truetype/SfntFaces.h"

#include <string>

namespace truetype {

// The bytes of the `cmap` table of font faceIndex of the file, as stored, for the drawing's
// choice of a sample: found by its exact tag among the entries the font declares. Empty where
// the face has none, where the table lies outside the file or is larger than any real one
// (16 MiB), for a face index out of range, and for a web font, of which this reader unwraps the
// `name` table alone. A damaged container raises its failure, as SfntFaces does.
std::string characterMapTable(platform::FontFileReader& file, SfntContainer container,
                              long faceIndex);

} // namespace truetype
