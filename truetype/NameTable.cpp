#include "truetype/NameTable.h"

#include "platform/Failure.h"
#include "text/Text.h"
#include "text/UnicodeText.h"

#include <algorithm>
#include <array>

namespace truetype {

namespace {

// The directory index is reckoned in 16 signed bits, entry i lying 16 * i bytes into the
// directory: 16 * 2048 overflows, so entries 0 to 2047 are the most that are looked at.
constexpr std::int64_t kEntryLimit = 32768 / sfnt::TableRecordLayout::size;

bool isNameTag(const std::array<std::uint8_t, 4>& tag) {
    static constexpr char name[] = "name";
    for (std::size_t i = 0; i < tag.size(); ++i) {
        if (text::foldByte(tag[i]) != static_cast<std::uint8_t>(name[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<NameTableLocation> locateNameTable(platform::FontFileReader& font,
                                                 std::int64_t offsetTableAt,
                                                 std::int64_t tableOffsetsFrom) {
    using Entry = sfnt::TableRecordLayout;
    const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(font.size(), INT64_MAX));
    std::int64_t tableOffset = 0;
    std::int64_t i = 0;
    for (;; ++i) {
        if (i == kEntryLimit) {
            return std::nullopt;
        }
        const std::int64_t entryAt = sfnt::tableRecordAt(offsetTableAt, i);
        // Past the end of the file every entry reads as zero bytes and none is tagged "name":
        // the search would walk on to entry 2048 and overflow there. It overflows now.
        if (entryAt >= size) {
            return std::nullopt;
        }
        // Every entry passed is read alike, its tag and then its offset.
        StructureBytes<Entry::size> entry(font, entryAt);
        std::array<std::uint8_t, 4> tag{};
        for (std::size_t k = 0; k < tag.size(); ++k) {
            tag[k] = entry.at(Entry::tableTag + static_cast<std::int64_t>(k));
        }
        const std::uint32_t offset = entry.low24(Entry::offset);
        if (isNameTag(tag)) {
            tableOffset = tableOffsetsFrom + offset;
            break;
        }
    }
    NameTableLocation table;
    table.entriesRead = i + 1;
    table.tableOffset = tableOffset;
    StructureBytes<sfnt::NameHeaderLayout::size> header(font, tableOffset);
    table.storageOffset = tableOffset + header.unsigned16(sfnt::NameHeaderLayout::storageOffset);
    const std::optional<std::int16_t> count = header.signed16(sfnt::NameHeaderLayout::count);
    if (!count) {
        return std::nullopt;
    }
    table.recordCount = *count;
    return table;
}

NameTableLocation TTFindNameTable(platform::FontFileReader& font, std::int64_t offsetTableAt,
                                  std::int64_t tableOffsetsFrom) {
    const std::optional<NameTableLocation> table =
        locateNameTable(font, offsetTableAt, tableOffsetsFrom);
    if (!table) {
        throw platform::Failure(platform::FailureNumber::Overflow);
    }
    return *table;
}

StringPlace stringPlace(const platform::FontFileReader& font, const NameTableLocation& table,
                        std::int16_t length, std::int16_t offset) {
    StringPlace place;
    place.offset = table.storageOffset + offset;
    const auto start = static_cast<std::uint64_t>(place.offset);
    const std::uint64_t inFile = start < font.size() ? font.size() - start : 0;
    place.count = static_cast<std::int64_t>(std::min<std::uint64_t>(length, inFile));
    place.length = length;
    return place;
}

namespace {

void appendDecoded(std::string& out, std::string_view bytes, StringEncoding encoding) {
    switch (encoding) {
    case StringEncoding::Windows1252: text::appendWindows1252DroppingNuls(out, bytes); return;
    case StringEncoding::Utf16BigEndian: text::appendUtf16BigEndian(out, bytes); return;
    case StringEncoding::MacRoman: text::appendMacRoman(out, bytes); return;
    }
}

} // namespace

void appendRecordText(std::string& out, platform::FontFileReader& font, const StringPlace& place,
                      StringEncoding encoding) {
    const std::int64_t position = readerPosition(place.offset);
    // A UTF-16 string that the end of the file cuts between the two bytes of a unit: the
    // missing low-order byte reads as zero, as every byte past the end does.
    const bool cutInUnit = encoding == StringEncoding::Utf16BigEndian && place.count % 2 != 0 &&
                           place.length > place.count;
    if (place.count > 0 && !cutInUnit) {
        // Straight from the reader's page when it holds the whole string.
        const auto page = font.pageFrom(position);
        if (page.size() >= static_cast<std::uint64_t>(place.count)) {
            appendDecoded(
                out,
                {reinterpret_cast<const char*>(page.data()), static_cast<std::size_t>(place.count)},
                encoding);
            return;
        }
    }
    std::string bytes = font.bytesAt(position, place.count);
    if (cutInUnit) {
        bytes += '\0';
    }
    appendDecoded(out, bytes, encoding);
}

} // namespace truetype
