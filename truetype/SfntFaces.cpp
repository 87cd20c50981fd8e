#include "truetype/SfntFaces.h"

#include "platform/Failure.h"
#include "truetype/Woff2Font.h"
#include "truetype/WoffFont.h"

#include <span>
#include <string>

namespace truetype {

namespace {

// The minimal sfnt the file's wrapper holds, by its signature.
std::vector<std::uint8_t> wrappedSfnt(platform::FontFileReader& font) {
    const std::string signature = font.bytesAt(1, 4);
    if (signature == "wOFF") {
        return woffSfnt(font);
    }
    if (signature == "wOF2") {
        return woff2Sfnt(font);
    }
    throw platform::Failure(platform::FailureNumber::Overflow);
}

} // namespace

SfntFaces::SfntFaces(platform::FontFileReader& file, SfntContainer container) : font_(&file) {
    switch (container) {
    case SfntContainer::Font: return;
    case SfntContainer::Collection: collection_.emplace(file); return;
    case SfntContainer::Suitcase: suitcase_.emplace(file); return;
    case SfntContainer::WebFont:
        unwrapped_ = wrappedSfnt(file);
        unwrappedReader_.emplace(std::span<const std::uint8_t>(unwrapped_));
        font_ = &*unwrappedReader_;
        return;
    }
}

std::int64_t SfntFaces::count() const noexcept {
    if (collection_) {
        return collection_->fontCount();
    }
    return suitcase_ ? suitcase_->fontCount() : 1;
}

Face SfntFaces::face(std::int64_t i) {
    if (collection_) {
        return {*font_, collection_->offsetTableAt(i), 0};
    }
    if (suitcase_) {
        const std::int64_t at = suitcase_->fontAt(i);
        return {*font_, at, at};
    }
    return {*font_, 0, 0};
}

} // namespace truetype
