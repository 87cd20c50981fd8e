#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fontlist {

struct SamplesOptions;

// The sample where there is no other: no text asked for, and none the font suits (or no drawer
// to tell).
inline constexpr std::string_view kPangram = "The quick brown fox jumps over the lazy dog";

// What the specimen page shows of one font of a file, as the drawer gives it.
struct SampleFace {
    // UTF-8: the text shown at each size (the text asked for, or the sample that suits the face).
    std::string sampleText;
    // Where an image was asked for and the face could be drawn: the bytes of a PNG file of the
    // title and the sample at each size.
    std::string png;
    // Empty, or the one line that says why the face could not be drawn.
    std::string reason;
};

// Draws what the specimen page needs of each face. Called from several threads at once.
class FaceDrawer {
public:
    FaceDrawer() = default;
    virtual ~FaceDrawer() = default;
    FaceDrawer(const FaceDrawer&) = delete;
    FaceDrawer& operator=(const FaceDrawer&) = delete;

    // The face at faceIndex of the font file at path (the system's bytes), titled with its full
    // name; an image only where image is true (a face the browser cannot draw). Never throws.
    virtual SampleFace face(const std::string& path, long faceIndex, std::string_view title,
                            const SamplesOptions& options, bool image) const = 0;
};

// What the specimen page is asked to show.
struct SamplesOptions {
    std::string sampleText;                 // UTF-8; empty: the sample that suits each font
    std::vector<int> sizes{12, 18, 24, 36}; // in CSS pixels, in the order shown
    // None in a build that cannot draw fonts: the page then shows the text asked for (or a
    // pangram) in the browser, and a line in place of every image.
    const FaceDrawer* drawer = nullptr;
};

} // namespace fontlist
