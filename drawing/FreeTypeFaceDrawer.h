#pragma once

#include "fontlist/SamplesOptions.h"

#include <string>
#include <string_view>

namespace drawing {

// The specimen page's drawer: FreeType reads the face, HarfBuzz shapes the text. The sample
// text is the one asked for, else the sample that suits the face's character map (a Latin
// pangram where FreeType cannot read the face or it maps no printable character). An image is
// the title at 24 pixels, then the sample at each of the sizes asked for, at most 900 pixels
// wide, as a PNG file; a face that cannot be drawn, or an image that cannot be encoded, gives
// the reason instead. The reason speaks of the image alone: without one it stays empty. The
// face is opened once a call, not at all for the text asked for without an image.
// Thread-safe (each thread draws with its own FreeType library); never throws.
class FreeTypeFaceDrawer final : public fontlist::FaceDrawer {
public:
    FreeTypeFaceDrawer() = default;

    fontlist::SampleFace face(const std::string& path, long faceIndex, std::string_view title,
                              const fontlist::SamplesOptions& options, bool image) const override;
};

} // namespace drawing
