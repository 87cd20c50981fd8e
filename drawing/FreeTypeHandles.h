#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <memory>
#include <string>

namespace drawing {

// Owners of FreeType's and HarfBuzz's objects.
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Face = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

struct HbFontDeleter {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
using HbFont = std::unique_ptr<hb_font_t, HbFontDeleter>;

struct HbBufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
using HbBuffer = std::unique_ptr<hb_buffer_t, HbBufferDeleter>;

// The calling thread's FreeType library, made on first use and released when the thread ends
// (a library and its faces are never shared between threads); nullptr when FreeType could not
// start.
FT_Library threadLibrary();

// FreeType's words for an error, or its number where the library was built without them.
std::string freeTypeErrorText(FT_Error error);

} // namespace drawing
