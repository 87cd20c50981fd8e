#include "drawing/TableSampleText.h"

#include "drawing/FreeTypeHandles.h"

#include <memory>

namespace drawing {

namespace {

struct HbBlobDeleter {
    void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};
struct HbFaceDeleter {
    void operator()(hb_face_t* face) const { hb_face_destroy(face); }
};
struct HbSetDeleter {
    void operator()(hb_set_t* set) const { hb_set_destroy(set); }
};
using HbBlob = std::unique_ptr<hb_blob_t, HbBlobDeleter>;
using HbFace = std::unique_ptr<hb_face_t, HbFaceDeleter>;
using HbSet = std::unique_ptr<hb_set_t, HbSetDeleter>;

// HarfBuzz's view of a face made of a `cmap` table alone.
class HarfBuzzMap final : public CharacterMap {
public:
    HarfBuzzMap(hb_face_t* face, hb_font_t* font, hb_set_t* characters)
        : face_(face), font_(font), characters_(characters) {}

    bool maps(char32_t code) const override {
        hb_codepoint_t glyph = 0;
        return hb_font_get_nominal_glyph(font_, code, &glyph) != 0 && glyph != 0;
    }
    void forEachCharacter(const std::function<bool(char32_t)>& visit) const override {
        if (hb_set_is_empty(characters_)) {
            hb_face_collect_unicodes(face_, characters_);
        }
        hb_codepoint_t code = HB_SET_VALUE_INVALID;
        while (hb_set_next(characters_, &code) && visit(static_cast<char32_t>(code))) {
        }
    }

private:
    hb_face_t* face_;
    hb_font_t* font_;
    hb_set_t* characters_; // filled on the first walk
};

} // namespace

std::optional<SampleText> sampleTextFromCharacterMap(std::string_view cmapTable) {
    if (cmapTable.empty()) {
        return std::nullopt;
    }
    const HbBlob blob(hb_blob_create(cmapTable.data(), static_cast<unsigned>(cmapTable.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    const HbFace face(hb_face_builder_create());
    hb_face_builder_add_table(face.get(), HB_TAG('c', 'm', 'a', 'p'), blob.get());
    const HbFont font(hb_font_create(face.get()));
    const HbSet characters(hb_set_create());
    return sampleTextFor(HarfBuzzMap(face.get(), font.get(), characters.get()));
}

} // namespace drawing
