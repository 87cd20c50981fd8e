#include "support/SuitcaseWriter.h"

#include "support/TrueTypeWriter.h"

namespace testsupport {

namespace {

constexpr std::uint32_t kHeaderSize = 16;
constexpr std::uint16_t kTypeListAt = 28; // from the start of the map
constexpr std::uint16_t kTypeEntrySize = 8;
constexpr std::uint16_t kReferenceSize = 12;

// A reference: its id, no name (-1), attributes 0 and its data offset, then the handle.
std::string reference(std::uint16_t id, std::uint32_t dataOffset) {
    return bigEndian16(id) + bigEndian16(0xFFFF) + bigEndian32(dataOffset & 0xFFFFFF) +
           bigEndian32(0);
}

} // namespace

std::string dataForkSuitcase(const SuitcaseLayout& layout) {
    const std::string fond = "FOND record";
    std::string data = bigEndian32(static_cast<std::uint32_t>(fond.size())) + fond;
    std::string fontReferences;
    for (std::size_t i = 0; i < layout.fonts.size(); ++i) {
        const std::string& font = layout.fonts[i];
        auto length = static_cast<std::uint32_t>(font.size());
        if (i + 1 == layout.fonts.size() && layout.lastFontLength) {
            length = *layout.lastFontLength;
        }
        fontReferences +=
            reference(static_cast<std::uint16_t>(256 + i), static_cast<std::uint32_t>(data.size()));
        data += bigEndian32(length) + font;
    }
    const auto fontCount = static_cast<std::uint16_t>(layout.fonts.size());

    // Two types; the reference lists follow the type list.
    const std::uint16_t typeList = 2 + 2 * kTypeEntrySize;
    std::string types = bigEndian16(layout.typeCountLessOne.value_or(1));
    types += "FOND" + bigEndian16(0) + bigEndian16(typeList);
    types += layout.fontType + bigEndian16(layout.fontCountLessOne.value_or(fontCount - 1)) +
             bigEndian16(typeList + kReferenceSize);
    types += reference(128, 0) + fontReferences;

    const std::uint32_t dataOffset = kHeaderSize;
    const auto dataLength = static_cast<std::uint32_t>(data.size());
    const std::uint32_t mapOffset = dataOffset + dataLength;
    const auto mapLength = static_cast<std::uint32_t>(kTypeListAt + types.size());
    const std::string header = bigEndian32(dataOffset) +
                               bigEndian32(layout.mapOffset.value_or(mapOffset)) +
                               bigEndian32(dataLength) + bigEndian32(mapLength);
    // The map: the header again, the next map's handle, the file reference, the attributes,
    // then where the type list and the (empty) name list lie.
    std::string map = header + bigEndian32(0) + bigEndian16(0) + bigEndian16(0) +
                      bigEndian16(kTypeListAt) + bigEndian16(static_cast<std::uint16_t>(mapLength));
    return header + data + map + types;
}

} // namespace testsupport
