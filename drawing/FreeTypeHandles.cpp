#include "drawing/FreeTypeHandles.h"

#include <cstdio>

namespace drawing {

namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using Library = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;

Library newLibrary() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return nullptr;
    }
    return Library(library);
}

} // namespace

FT_Library threadLibrary() {
    thread_local const Library library = newLibrary();
    return library.get();
}

std::string freeTypeErrorText(FT_Error error) {
    if (const char* text = FT_Error_String(error)) {
        return text;
    }
    char number[32];
    std::snprintf(number, sizeof number, "error 0x%02X", static_cast<unsigned>(error));
    return number;
}

} // namespace drawing
