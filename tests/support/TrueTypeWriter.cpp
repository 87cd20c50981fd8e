#include "support/TrueTypeWriter.h"

#include <algorithm>

namespace testsupport {

std::string utf16be(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

std::string bigEndian16(std::uint16_t value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

std::string bigEndian32(std::uint32_t value) {
    return bigEndian16(static_cast<std::uint16_t>(value >> 16)) +
           bigEndian16(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::string nameTableBytes(const NameTableLayout& layout) {
    const auto recordCount = static_cast<std::uint16_t>(layout.records.size());
    std::size_t headerSize = 6 + 12 * layout.records.size();
    if (layout.format == 1) {
        headerSize += 2 + 4 * layout.languageTags.size();
    }
    std::string storage;
    std::string records;
    for (const NameRecordLayout& record : layout.records) {
        const auto stored = static_cast<std::uint16_t>(storage.size());
        storage += record.bytes;
        records +=
            bigEndian16(record.platform) + bigEndian16(record.encoding) +
            bigEndian16(record.language) + bigEndian16(record.nameId) +
            bigEndian16(record.length.value_or(static_cast<std::uint16_t>(record.bytes.size()))) +
            bigEndian16(record.offset.value_or(stored));
    }
    std::string table =
        bigEndian16(layout.format) + bigEndian16(layout.count.value_or(recordCount)) +
        bigEndian16(layout.storageOffset.value_or(static_cast<std::uint16_t>(headerSize))) +
        records;
    if (layout.format == 1) {
        table += bigEndian16(static_cast<std::uint16_t>(layout.languageTags.size()));
        for (const std::string& tag : layout.languageTags) {
            table += bigEndian16(static_cast<std::uint16_t>(tag.size())) +
                     bigEndian16(static_cast<std::uint16_t>(storage.size()));
            storage += tag;
        }
    }
    return table + storage;
}

std::string trueTypeBytes(const FontLayout& layout) {
    const auto count = static_cast<std::uint16_t>(layout.tables.size());
    std::string font = bigEndian32(0x00010000) + bigEndian16(layout.numTables.value_or(count)) +
                       bigEndian16(0) + bigEndian16(0) + bigEndian16(0);
    std::size_t dataAt = 12 + 16 * layout.tables.size();
    std::string data;
    for (const TableLayout& table : layout.tables) {
        const std::size_t at = dataAt + data.size();
        font += table.tag.substr(0, 4);
        font.append(4 - std::min<std::size_t>(4, table.tag.size()), ' ');
        font += bigEndian32(0); // checksum: never read
        if (table.offsetBytes) {
            font.append(reinterpret_cast<const char*>(table.offsetBytes->data()), 4);
        } else {
            font += bigEndian32(static_cast<std::uint32_t>(at));
        }
        font += bigEndian32(static_cast<std::uint32_t>(table.data.size()));
        data += table.data;
        data.append((4 - data.size() % 4) % 4, '\0');
    }
    return font + data;
}

std::string trueTypeFont(const NameTableLayout& names) {
    // Every field given: this file is also built into the demo folder's writer, outside the
    // tests' relaxed warnings.
    return trueTypeBytes(FontLayout{{
                                        {"OS/2", std::string(96, '\x01'), std::nullopt},
                                        {"head", std::string(54, '\x02'), std::nullopt},
                                        {"name", nameTableBytes(names), std::nullopt},
                                        {"post", std::string(32, '\x03'), std::nullopt},
                                    },
                                    std::nullopt});
}

std::string trueTypeFontNamed(std::u16string_view fullName) {
    NameTableLayout names;
    names.records.push_back({3, 1, 0x0409, 4, utf16be(fullName), std::nullopt, std::nullopt});
    return trueTypeFont(names);
}

} // namespace testsupport
