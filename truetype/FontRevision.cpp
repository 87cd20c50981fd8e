#include "truetype/FontRevision.h"

#include "truetype/SfntLayout.h"
#include "truetype/StructureBytes.h"

#include <array>

namespace truetype {

namespace {

// Where the field lies in the `head` table, and the least length that holds it.
constexpr std::int64_t kFontRevisionAt = 4; // Fixed, after the uint16 major and minor versions
constexpr std::uint32_t kLeastHeadLength = 8;

} // namespace

std::optional<std::uint32_t> fontRevisionOf(platform::FontFileReader& font,
                                            std::int64_t offsetTableAt,
                                            std::int64_t tableOffsetsFrom) {
    using Entry = sfnt::TableRecordLayout;
    StructureBytes<sfnt::OffsetTableLayout::size> header(font, offsetTableAt);
    const std::uint16_t tables = header.unsigned16(sfnt::OffsetTableLayout::numTables);
    const auto size = static_cast<std::int64_t>(font.size());
    for (std::int64_t i = 0; i < tables; ++i) {
        const std::int64_t entryAt = sfnt::tableRecordAt(offsetTableAt, i);
        if (entryAt + Entry::size > size) {
            return std::nullopt;
        }
        StructureBytes<Entry::size> entry(font, entryAt);
        constexpr std::array<std::uint8_t, 4> kHead{'h', 'e', 'a', 'd'};
        bool head = true;
        for (std::size_t k = 0; k < kHead.size(); ++k) {
            head = head && entry.at(Entry::tableTag + static_cast<std::int64_t>(k)) == kHead[k];
        }
        if (!head) {
            continue;
        }
        const std::int64_t tableAt = tableOffsetsFrom + entry.unsigned32(Entry::offset);
        if (entry.unsigned32(Entry::length) < kLeastHeadLength ||
            tableAt + static_cast<std::int64_t>(kLeastHeadLength) > size) {
            return std::nullopt;
        }
        StructureBytes<kLeastHeadLength> table(font, tableAt);
        return table.unsigned32(kFontRevisionAt);
    }
    return std::nullopt;
}

} // namespace truetype
