#include "truetype/CollectionHeader.h"

#include "runtime/Failure.h"
#include "truetype/SfntLayout.h"

namespace truetype {

namespace {

// The big-endian 32-bit value at a 0-based offset.
std::int64_t unsigned32At(runtime::FontFileReader& font, std::int64_t offset) {
    std::int64_t value = 0;
    for (std::int64_t k = 1; k <= 4; ++k) {
        value = value * 256 + font.byteAt(offset + k);
    }
    return value;
}

bool startsWithCollectionTag(runtime::FontFileReader& font) {
    static constexpr char tag[] = "ttcf";
    for (std::int64_t k = 0; k < 4; ++k) {
        if (font.byteAt(sfnt::CollectionHeader::ttcTag + k + 1) !=
            static_cast<std::uint8_t>(tag[k])) {
            return false;
        }
    }
    return true;
}

} // namespace

CollectionHeader::CollectionHeader(runtime::FontFileReader& font) : font_(font) {
    if (!startsWithCollectionTag(font)) {
        return;
    }
    collection_ = true;
    count_ = unsigned32At(font, sfnt::CollectionHeader::numFonts);
    const auto offsetsEnd = static_cast<std::uint64_t>(sfnt::tableDirectoryOffsetAt(count_));
    if (count_ == 0 || offsetsEnd > font.size()) {
        throw runtime::Failure(runtime::FailureNumber::Overflow);
    }
}

std::int64_t CollectionHeader::offsetTableAt(std::int64_t i) {
    return collection_ ? unsigned32At(font_, sfnt::tableDirectoryOffsetAt(i)) : 0;
}

} // namespace truetype
