#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace drawing {

// Opens the face at faceIndex of the font file at path (the system's bytes) as FT_New_Face does,
// but reads the file with pread through a stream of its own instead of mapping it: FreeType
// maps a file whole, and mapping and unmapping every file of a large folder (with the page
// faults and TLB shootdowns that come with it) cost more than reading what it needs. The stream
// closes the file when the face is done with, or when the open fails.
FT_Error openFaceFromFile(FT_Library library, const std::string& path, long faceIndex,
                          FT_Face* face);

} // namespace drawing
