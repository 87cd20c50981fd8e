#include "truetype/CollectionHeader.h"

#include "platform/Failure.h"
#include "truetype/SfntLayout.h"
#include "truetype/StructureBytes.h"

namespace truetype {

namespace {

using Layout = sfnt::CollectionHeaderLayout;

// The part of the header before the offsets of the fonts.
using FixedHeader = StructureBytes<Layout::tableDirectoryOffsets>;

bool hasCollectionTag(FixedHeader& header) {
    static constexpr char tag[] = "ttcf";
    for (std::int64_t k = 0; k < 4; ++k) {
        if (header.at(Layout::ttcTag + k) != static_cast<std::uint8_t>(tag[k])) {
            return false;
        }
    }
    return true;
}

} // namespace

CollectionHeader::CollectionHeader(platform::FontFileReader& font) : font_(font) {
    FixedHeader header(font, 0);
    if (!hasCollectionTag(header)) {
        return;
    }
    collection_ = true;
    count_ = header.unsigned32(Layout::numFonts);
    const auto offsetsEnd = static_cast<std::uint64_t>(sfnt::tableDirectoryOffsetAt(count_));
    if (count_ == 0 || offsetsEnd > font.size()) {
        throw platform::Failure(platform::FailureNumber::Overflow);
    }
}

std::int64_t CollectionHeader::offsetTableAt(std::int64_t i) {
    if (!collection_) {
        return 0;
    }
    StructureBytes<Layout::offsetSize> offset(font_, sfnt::tableDirectoryOffsetAt(i));
    return offset.unsigned32(0);
}

} // namespace truetype
