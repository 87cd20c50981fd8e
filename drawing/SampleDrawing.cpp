#include "drawing/SampleDrawing.h"

#include "drawing/FreeTypeHandles.h"
#include "drawing/SampleText.h"

#include <hb-ft.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

namespace drawing {

namespace {

constexpr std::string_view kCannotDraw = "This font has no outlines FreeType can draw: ";
constexpr int kLargestPixels = 256;

// One line drawn on its own, before the lines are stacked.
struct LineImage {
    CoverageImage image;
    bool rightToLeft = false;
    bool inked = false;
};

// The text of a line, as HarfBuzz takes it.
struct LineText {
    std::string_view utf8;
    std::u32string_view utf32;
};

HbBuffer shape(hb_font_t* font, const LineText& text) {
    HbBuffer buffer(hb_buffer_create());
    if (!text.utf32.empty()) {
        hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(text.utf32.data()),
                            static_cast<int>(text.utf32.size()), 0,
                            static_cast<int>(text.utf32.size()));
    } else {
        hb_buffer_add_utf8(buffer.get(), text.utf8.data(), static_cast<int>(text.utf8.size()), 0,
                           static_cast<int>(text.utf8.size()));
    }
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(font, buffer.get(), nullptr, 0);
    return buffer;
}

// Lays the glyph's coverage over the line at (left, top), keeping the stronger of the two.
void blit(const FT_Bitmap& bitmap, int left, int top, CoverageImage& line) {
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.pitch < 0) {
        return;
    }
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row) {
        const int y = top + row;
        if (y < 0 || y >= line.height) {
            continue;
        }
        const unsigned char* source =
            bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (int column = 0; column < static_cast<int>(bitmap.width); ++column) {
            const int x = left + column;
            if (x < 0 || x >= line.width) {
                continue;
            }
            std::uint8_t& target =
                line.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(line.width) +
                            static_cast<std::size_t>(x)];
            target = std::max(target, static_cast<std::uint8_t>(source[column]));
        }
    }
}

int lineWidth(const hb_glyph_info_t* infos, const hb_glyph_position_t* positions, unsigned count) {
    long width = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (infos[i].codepoint != 0) {
            width += positions[i].x_advance;
        }
    }
    return static_cast<int>((std::max(0L, width) + 63) / 64);
}

// Shapes and draws one line at the size given; the face's glyphs it lacks are left out.
LineImage drawLine(FT_Face face, hb_font_t* font, const LineText& text, int pixels,
                   int maximumWidth) {
    LineImage line;
    pixels = std::clamp(pixels, 1, kLargestPixels);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        return line;
    }
    hb_ft_font_changed(font);
    const HbBuffer buffer = shape(font, text);
    line.rightToLeft = hb_buffer_get_direction(buffer.get()) == HB_DIRECTION_RTL;
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);
    int ascent = static_cast<int>((face->size->metrics.ascender + 63) / 64);
    int descent = static_cast<int>((-face->size->metrics.descender + 63) / 64);
    if (ascent <= 0 || ascent > 4 * pixels || descent < 0 || descent > 4 * pixels) {
        ascent = pixels;
        descent = (pixels + 3) / 4;
    }
    line.image.width = std::min(lineWidth(infos, positions, count) + 2, maximumWidth);
    line.image.height = ascent + descent + 2;
    line.image.pixels.assign(static_cast<std::size_t>(line.image.width) *
                                 static_cast<std::size_t>(line.image.height),
                             0);
    long pen = 64; // 26.6, one pixel in from the edge
    for (unsigned i = 0; i < count; ++i) {
        if (infos[i].codepoint == 0) {
            continue;
        }
        const long x = pen + positions[i].x_offset;
        pen += positions[i].x_advance;
        if (FT_Load_Glyph(face, infos[i].codepoint, FT_LOAD_NO_BITMAP) != 0 ||
            face->glyph->format != FT_GLYPH_FORMAT_OUTLINE ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            continue;
        }
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        line.inked = line.inked || (bitmap.width > 0 && bitmap.rows > 0);
        blit(bitmap, static_cast<int>(x / 64) + face->glyph->bitmap_left,
             1 + ascent - positions[i].y_offset / 64 - face->glyph->bitmap_top, line.image);
    }
    return line;
}

// The lines one under the other; right-to-left lines against the right edge.
CoverageImage stack(const std::vector<LineImage>& lines) {
    CoverageImage image;
    for (const LineImage& line : lines) {
        image.width = std::max(image.width, line.image.width);
        image.height += line.image.height;
    }
    image.pixels.assign(
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
    int top = 0;
    for (const LineImage& line : lines) {
        const int left = line.rightToLeft ? image.width - line.image.width : 0;
        for (int row = 0; row < line.image.height; ++row) {
            std::copy_n(line.image.pixels.begin() + row * line.image.width, line.image.width,
                        image.pixels.begin() + (top + row) * image.width + left);
        }
        top += line.image.height;
    }
    return image;
}

SampleDrawing cannotDraw(const std::string& why) {
    return {{}, std::string(kCannotDraw) + why};
}

} // namespace

DrawableFace openDrawableFace(const std::string& path, long faceIndex) {
    FT_Library library = threadLibrary();
    if (library == nullptr) {
        return {nullptr, std::string(kCannotDraw) + "FreeType did not start"};
    }
    FT_Face opened = nullptr;
    if (const FT_Error error = FT_New_Face(library, path.c_str(), faceIndex, &opened)) {
        return {nullptr, std::string(kCannotDraw) + freeTypeErrorText(error)};
    }
    Face face(opened);
    if (!FT_IS_SCALABLE(face.get())) {
        return {nullptr, std::string(kCannotDraw) + "it holds bitmaps only"};
    }
    if (face->charmap == nullptr && face->num_charmaps > 0) {
        FT_Set_Charmap(face.get(), face->charmaps[0]); // a symbol font's only map
    }
    return {std::move(face), {}};
}

SampleDrawing drawSample(FT_Face face, const SampleRequest& request) {
    const HbFont font(hb_ft_font_create_referenced(face));
    const SampleText chosen = request.sampleText.empty() ? sampleTextFor(face) : SampleText{};
    const LineText sample{request.sampleText, chosen.text};
    const int maximumWidth = std::max(1, request.maximumWidth);
    std::vector<LineImage> lines;
    lines.push_back(
        drawLine(face, font.get(), {request.title, {}}, request.titlePixels, maximumWidth));
    for (const int pixels : request.samplePixels) {
        lines.push_back(drawLine(face, font.get(), sample, pixels, maximumWidth));
    }
    std::erase_if(lines, [](const LineImage& line) { return !line.inked; });
    if (lines.empty()) {
        return cannotDraw("it has no glyph for its name or its sample");
    }
    return {stack(lines), {}};
}

SampleDrawing drawSample(const std::string& path, long faceIndex, const SampleRequest& request) {
    const DrawableFace opened = openDrawableFace(path, faceIndex);
    if (!opened.face) {
        return {{}, opened.reason};
    }
    return drawSample(opened.face.get(), request);
}

} // namespace drawing
