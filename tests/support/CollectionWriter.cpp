#include "support/CollectionWriter.h"

#include "support/TrueTypeWriter.h"
#include "truetype/SfntLayout.h"

#include <algorithm>
#include <cstddef>

namespace testsupport {

namespace {

namespace sfnt = truetype::sfnt;

std::size_t offsetOf(std::int64_t offset) {
    return static_cast<std::size_t>(offset);
}

std::uint32_t read32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + k]);
    }
    return value;
}

// The font with every table offset of its directory moved by shift.
std::string movedBy(std::string font, std::uint32_t shift) {
    const std::size_t numTables = offsetOf(sfnt::OffsetTableLayout::numTables);
    const std::size_t tables = font.size() < numTables + 2
                                   ? 0
                                   : std::size_t{static_cast<std::uint8_t>(font[numTables])} << 8 |
                                         static_cast<std::uint8_t>(font[numTables + 1]);
    for (std::size_t i = 0; i < tables; ++i) {
        const std::size_t field = offsetOf(sfnt::tableRecordAt(0, static_cast<std::int64_t>(i)) +
                                           sfnt::TableRecordLayout::offset);
        if (field + 4 > font.size()) {
            break;
        }
        font.replace(field, 4, bigEndian32(read32(font, field) + shift));
    }
    return font;
}

} // namespace

std::string openTypeFont(std::string trueTypeFont) {
    trueTypeFont.replace(offsetOf(sfnt::OffsetTableLayout::sfntVersion), 4, "OTTO");
    return trueTypeFont;
}

std::string fontCollection(const CollectionLayout& layout) {
    const auto count = static_cast<std::uint32_t>(layout.fonts.size());
    const auto offsetCount =
        static_cast<std::int64_t>(std::max<std::size_t>(count, layout.offsets.size()));
    std::size_t headerSize = offsetOf(sfnt::tableDirectoryOffsetAt(offsetCount));
    if (layout.version >= 0x00020000) {
        headerSize += 12; // the digital signature's tag, length and offset, all zero
    }
    std::vector<std::uint32_t> stored;
    std::string body;
    for (const std::string& font : layout.fonts) {
        const auto offset = static_cast<std::uint32_t>(headerSize + body.size());
        stored.push_back(offset);
        body += movedBy(font, offset);
        body.resize((body.size() + 3) / 4 * 4, '\0');
    }
    const std::vector<std::uint32_t>& offsets = layout.offsets.empty() ? stored : layout.offsets;
    std::string header =
        "ttcf" + bigEndian32(layout.version) + bigEndian32(layout.count.value_or(count));
    for (const std::uint32_t offset : offsets) {
        header += bigEndian32(offset);
    }
    header.resize(headerSize, '\0');
    return header + body;
}

} // namespace testsupport
