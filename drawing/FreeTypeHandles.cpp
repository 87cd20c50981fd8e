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

namespace {

struct ErrorText {
    FT_Error error;
    const char* text;
};

// FreeType's list of errors, made into a table of their texts ("broken table"): Debian's
// library is built without its own error strings.
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST constexpr ErrorText kErrorTexts[] = {
#define FT_ERROR_END_LIST                                                                          \
    }                                                                                              \
    ;
#define FT_ERR_PREFIX
#include FT_ERRORS_H

} // namespace

std::string freeTypeErrorText(FT_Error error) {
    for (const ErrorText& known : kErrorTexts) {
        if (known.error == error) {
            return known.text;
        }
    }
    char number[32];
    std::snprintf(number, sizeof number, "error 0x%02X", static_cast<unsigned>(error));
    return number;
}

} // namespace drawing
