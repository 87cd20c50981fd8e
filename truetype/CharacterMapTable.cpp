#include "truetype/CharacterMapTable.h"

#include "truetype/SfntLayout.h"
#include "truetype/StructureBytes.h"

#include <cstdint>

namespace truetype {

namespace {

constexpr std::uint32_t kLargestTable = 16U << 20;
constexpr std::uint32_t kCmapTag = 0x636D6170; // "cmap"

} // namespace

std::string characterMapTable(platform::FontFileReader& file, SfntContainer container,
                              long faceIndex) {
    if (container == SfntContainer::WebFont) {
        return {};
    }
    SfntFaces faces(file, container);
    if (faceIndex < 0 || faceIndex >= faces.count()) {
        return {};
    }
    const Face face = faces.face(faceIndex);
    StructureBytes<sfnt::OffsetTableLayout::size> header(face.font, face.offsetTableAt);
    const std::uint16_t tables = header.unsigned16(sfnt::OffsetTableLayout::numTables);
    const auto size = static_cast<std::int64_t>(face.font.size());
    for (std::int64_t i = 0; i < tables; ++i) {
        const std::int64_t entryAt = sfnt::tableRecordAt(face.offsetTableAt, i);
        if (entryAt >= size) {
            break;
        }
        using Entry = sfnt::TableRecordLayout;
        StructureBytes<Entry::size> entry(face.font, entryAt);
        if (entry.unsigned32(Entry::tableTag) != kCmapTag) {
            continue;
        }
        const std::int64_t offset = face.tableOffsetsFrom + entry.unsigned32(Entry::offset);
        const std::uint32_t length = entry.unsigned32(Entry::length);
        if (length > kLargestTable || offset + length > size) {
            return {};
        }
        return face.font.bytesAt(readerPosition(offset), length);
    }
    return {};
}

} // namespace truetype
