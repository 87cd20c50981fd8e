#include "truetype/SuitcaseMap.h"

#include "platform/Failure.h"
#include "truetype/StructureBytes.h"

#include <algorithm>
#include <array>

namespace truetype {

namespace {

// The resource header at the start of the file; every field is a big-endian uint32.
struct ResourceHeaderLayout {
    static constexpr std::int64_t dataOffset = 0;
    static constexpr std::int64_t mapOffset = 4;
    static constexpr std::int64_t dataLength = 8;
    static constexpr std::int64_t mapLength = 12;
    static constexpr std::int64_t size = 16;
};

// The resource map: a copy of the header, two fields of the Resource Manager's own, then where
// its lists lie (uint16, from the start of the map).
struct MapLayout {
    static constexpr std::int64_t typeListOffset = 24;
    static constexpr std::int64_t size = 28; // to the end of the name list's offset
};

// The type list: the number of types less one (uint16), then an entry per type.
struct TypeEntryLayout {
    static constexpr std::int64_t first = 2; // from the start of the type list
    static constexpr std::int64_t type = 0;  // 4 bytes
    static constexpr std::int64_t countLessOne = 4;
    static constexpr std::int64_t referenceListOffset = 6; // uint16, from the type list
    static constexpr std::int64_t size = 8;
};

// A resource's entry of its type's reference list: its id and the offset of its name (uint16
// each), its attributes (1 byte), the offset of its data from the start of the data area
// (3 bytes), and a handle.
struct ReferenceLayout {
    static constexpr std::int64_t dataOffset = 4; // the low 24 bits of this uint32
    static constexpr std::int64_t size = 12;
};

// In the data area each resource is its length (uint32) followed by its bytes.
constexpr std::int64_t kLengthSize = 4;

[[noreturn]] void damaged() {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

// Whether [start, start + length) lies within [0, end).
bool within(std::int64_t start, std::int64_t length, std::int64_t end) {
    return start >= 0 && length >= 0 && start <= end && length <= end - start;
}

bool isSfntType(StructureBytes<TypeEntryLayout::size>& entry) {
    static constexpr std::array<std::uint8_t, 4> sfnt{'s', 'f', 'n', 't'};
    for (std::size_t k = 0; k < sfnt.size(); ++k) {
        if (entry.at(TypeEntryLayout::type + static_cast<std::int64_t>(k)) != sfnt[k]) {
            return false;
        }
    }
    return true;
}

} // namespace

SuitcaseMap::SuitcaseMap(platform::FontFileReader& font) : font_(font) {
    const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(font.size(), INT64_MAX));
    if (size < ResourceHeaderLayout::size) {
        damaged();
    }
    StructureBytes<ResourceHeaderLayout::size> header(font, 0);
    dataStart_ = header.unsigned32(ResourceHeaderLayout::dataOffset);
    const std::int64_t dataLength = header.unsigned32(ResourceHeaderLayout::dataLength);
    const std::int64_t mapStart = header.unsigned32(ResourceHeaderLayout::mapOffset);
    const std::int64_t mapLength = header.unsigned32(ResourceHeaderLayout::mapLength);
    if (!within(dataStart_, dataLength, size) || !within(mapStart, mapLength, size) ||
        mapLength < MapLayout::size) {
        damaged();
    }
    dataEnd_ = dataStart_ + dataLength;
    const std::int64_t mapEnd = mapStart + mapLength;

    StructureBytes<MapLayout::size> map(font, mapStart);
    const std::int64_t typeList = mapStart + map.unsigned16(MapLayout::typeListOffset);
    if (!within(typeList, TypeEntryLayout::first, mapEnd)) {
        damaged();
    }
    StructureBytes<TypeEntryLayout::first> typeCount(font, typeList);
    const std::int64_t types = std::int64_t{typeCount.unsigned16(0)} + 1;
    if (!within(typeList, TypeEntryLayout::first + TypeEntryLayout::size * types, mapEnd)) {
        damaged();
    }
    // A map lists each type once: the first "sfnt" entry holds the fonts.
    for (std::int64_t t = 0; t < types; ++t) {
        StructureBytes<TypeEntryLayout::size> entry(font, typeList + TypeEntryLayout::first +
                                                              TypeEntryLayout::size * t);
        if (!isSfntType(entry)) {
            continue;
        }
        count_ = std::int64_t{entry.unsigned16(TypeEntryLayout::countLessOne)} + 1;
        referencesAt_ = typeList + entry.unsigned16(TypeEntryLayout::referenceListOffset);
        if (!within(referencesAt_, ReferenceLayout::size * count_, mapEnd)) {
            damaged();
        }
        return;
    }
    damaged(); // no fonts
}

std::int64_t SuitcaseMap::fontAt(std::int64_t i) {
    StructureBytes<ReferenceLayout::size> reference(font_,
                                                    referencesAt_ + ReferenceLayout::size * i);
    const std::int64_t resource = dataStart_ + reference.low24(ReferenceLayout::dataOffset);
    if (!within(resource, kLengthSize, dataEnd_)) {
        damaged();
    }
    StructureBytes<kLengthSize> length(font_, resource);
    if (!within(resource + kLengthSize, length.unsigned32(0), dataEnd_)) {
        damaged();
    }
    return resource + kLengthSize;
}

} // namespace truetype
